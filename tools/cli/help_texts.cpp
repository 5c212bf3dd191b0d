// The help texts of trivo-make and of each of its commands.
#include "tools/cli/help_texts.h"

const char* const TOOL_HELP =
    "trivo-make: authoring tool for Trivo quizzes.\n"
    "\n"
    "Usage: trivo-make COMMAND [ARGUMENTS]\n"
    "\n"
    "Commands:\n"
    "  new DIR --kind KIND    write a starter quiz folder (text, picture, audio or video)\n"
    "  check DIR              check a quiz folder and report every problem\n"
    "  build DIR -o OUT.exe   build the quiz program OUT.exe from a quiz folder\n"
    "  dump QUIZ.exe -o DIR   read a quiz program back into a quiz folder\n"
    "  pack IN OUT            pack the file IN with the player's LZW packer into OUT\n"
    "  unpack IN OUT          unpack the packed file IN into OUT\n"
    "  judge EXPECTED TYPED   print the verdict the player shows for TYPED\n"
    "  judge                  the same for each line EXPECTED<TAB>TYPED of standard input\n"
    "\n"
    "Run 'trivo-make COMMAND --help' for the details of a command.\n"
    "Exit status: 0 on success, 1 when the command fails, 2 on a usage error.\n";

const char* const NEW_HELP =
    "Usage: trivo-make new DIR --kind KIND\n"
    "\n"
    "Writes the starter quiz folder DIR for a quiz of the kind KIND: text, picture, audio or\n"
    "video. It holds a commented quiz.toml with three questions and the small media files they\n"
    "name, and it checks and builds as it is: change the texts and media to make it your own.\n"
    "DIR must not exist yet, or be an empty folder; nothing is written unless all of it is.\n";

const char* const CHECK_HELP =
    "Usage: trivo-make check DIR\n"
    "\n"
    "Checks the quiz folder DIR (its quiz.toml and the media files it names) without building,\n"
    "and prints every problem at once, each as\n"
    "  DIR/quiz.toml:LINE: error: ...     (the quiz cannot be built)\n"
    "  DIR/quiz.toml:LINE: warning: ...   (it builds, but players may be surprised)\n"
    "followed by a line with the number of errors and warnings.\n"
    "Exit status: 1 when there is an error, 0 otherwise.\n";

const char* const BUILD_HELP =
    "Usage: trivo-make build DIR -o OUT.exe [--player PLAYER.exe]\n"
    "\n"
    "Checks the quiz folder DIR, then writes OUT.exe: a copy of the player that carries the quiz.\n"
    "The texts and the score codes are packed into the resources PATCH 104 and 105, the media of\n"
    "question q becomes IMG 400 + q and its answer picture IMG 10400 + q. Every quiz resource\n"
    "the player file already has is dropped first, so a quiz program can be rebuilt over itself.\n"
    "The player is trivo.exe beside trivo-make unless --player names another.\n"
    "Warnings are printed and do not stop the build; any error does. OUT.exe is written whole or\n"
    "not at all (- writes the program to standard output), never over a file of the quiz itself.\n"
    "Exit status: 0 when OUT.exe is written, 1 otherwise.\n";

const char* const DUMP_HELP =
    "Usage: trivo-make dump QUIZ.exe -o DIR\n"
    "\n"
    "Reads the quiz that the quiz program QUIZ.exe carries back into the new quiz folder DIR:\n"
    "quiz.toml and the media files (media/q1.jpg, media/a1.gif, ..., each named after what its\n"
    "bytes are). Building DIR again gives the same texts, codes and media.\n"
    "DIR must not exist yet, or be an empty folder; nothing is written unless all of it is.\n";

const char* const PACK_HELP =
    "Usage: trivo-make pack IN OUT\n"
    "\n"
    "Packs the file IN with the LZW packer the player's PATCH resources use and writes OUT\n"
    "(- for standard output).\n"
    "The codec takes at most 65535 input bytes. On failure nothing is written, the status\n"
    "(NoInput, NoMemory, WriteFailed) is printed on standard error and the exit status is 1.\n";

const char* const UNPACK_HELP =
    "Usage: trivo-make unpack IN OUT\n"
    "\n"
    "Unpacks the packed file IN as the player does and writes OUT (- for standard output).\n"
    "On failure nothing is written; standard error names the status (NoInput, BadStream,\n"
    "NoMemory) and how many bytes were unpacked before it, and the exit status is 1.\n";

const char* const JUDGE_HELP =
    "Usage: trivo-make judge EXPECTED TYPED\n"
    "       trivo-make judge < LINES\n"
    "\n"
    "Prints the verdict word the player shows beside an answer field when TYPED is typed and\n"
    "EXPECTED is the expected answer: ?, BRAVO, Anagramme, Quasiment, Presque, Trop long,\n"
    "Trop court, pas loin, yade lid\xC3\xA9"
    "e or FAUX.\n"
    "Without arguments, reads lines EXPECTED<TAB>TYPED (exactly one TAB) from standard input\n"
    "and prints one verdict per line.\n"
    "Texts are UTF-8 and must consist of characters of Windows code page 1252, which the\n"
    "player uses; like the player, only their first 259 characters are judged.\n";
