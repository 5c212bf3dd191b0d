# Sourced by the tests of trivo-make's languages: write_faulty_quiz DIR writes a quiz folder with many
# kinds of an author's mistakes in a quiz.toml that reads as TOML: 6 errors, 9 warnings and 1 note (a
# key misspelt, a number in quotes, a colour and codes that do not fit, answers with spaces, accents
# and a typographic apostrophe, a Windows path, a missing file, a file of another format, a text the
# quiz never shows).
write_faulty_quiz() {
    mkdir -p "$1/media"
    printf 'GIF89a' >"$1"/media/q3.gif
    printf 'no picture' >"$1"/media/faux.jpg
    cat >"$1/quiz.toml" <<'TOML'
kind = "picture"
title = "Drapeaux d’Europe"
tittle = "x"
slots = "2"
reveal = "comment"
background = "rouge"
codes = ["BRONZE", "ARGENTISSIME", ""]

[[questions]]
answer = "Évreux "
media = 'media\q1.jpg'
comment = "Une ville normande"

[[questions]]
answer = "Île  de  France"
answr2 = "x"
media = "nothere.jpg"

[[questions]]
answer = "Côte d’Ivoire"
media = "media/faux.jpg"
text = "Quel pays ?"
TOML
}
