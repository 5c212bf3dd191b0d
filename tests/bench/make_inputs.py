#!/usr/bin/env python3
"""Makes the codec benchmark's inputs, in code page 1252 like real quiz content.

  prose.txt   60 KiB of French prose: the French Debian FAQ (package debian-faq-fr), its paragraphs
              joined into lines
  quiz.txt    60 KiB of quiz-like content: records laid out as the player's content resource
              (header bytes, then short fields ended by "|"), texts and answers drawn from the sample
              quizzes and the French word list
  quiz90-1.txt ... quiz90-8.txt
              eight full records of 90 questions of that kind, each different: timing one call over
              and over on the same bytes would let the processor's branch predictor learn them
  words.txt   60 KiB of the French word list (package wfrench), one word per line

Standard library only. Usage: make_inputs.py OUTPUT_DIR [EXAMPLES_DIR]
"""
import gzip
import pathlib
import random
import re
import sys
import tomllib

FAQ = pathlib.Path("/usr/share/doc/debian/FAQ/debian-faq.fr.txt.gz")
WORDS = pathlib.Path("/usr/share/dict/french")
SIZE = 60 * 1024


def cp1252(text):
    return text.encode("cp1252", errors="replace")


def need(path, package):
    if not path.is_file():
        sys.exit(f"make_inputs.py: {path} is missing (Debian package {package}; scripts/setup.sh installs it)")


def prose():
    need(FAQ, "debian-faq-fr")
    lines = gzip.decompress(FAQ.read_bytes()).decode("utf-8").splitlines()
    # From the first chapter on, past the title page and the table of contents.
    body = lines[next(k for k, line in enumerate(lines) if re.match(r"Chapitre\s1\.", line)):]
    paragraphs, current = [], []
    for line in body + [""]:
        if line.strip():
            current.append(line.strip())
        elif current:
            paragraphs.append(" ".join(current))
            current = []
    return cp1252("\r\n".join(paragraphs))[:SIZE]


def word_list():
    need(WORDS, "wfrench")
    words = WORDS.read_text(encoding="utf-8").split("\n")
    # A stretch from the middle: the start of the list holds few accented words.
    middle = words[len(words) // 3:]
    return [w for w in middle if w]


def quiz_record(rng, samples, words):
    """One content record of 90 questions: header, five fields, the questions, reveal mode, colour."""
    slots = rng.choice([1, 2])
    reveal = rng.choice([1, 2])
    quiz = rng.choice(samples)
    fields = [quiz["title"], quiz.get("author", ""), quiz["description"], "Pr\u00e9nom - Nom", "R\u00e9ponse"]
    texts = [q["text"] for s in samples for q in s["questions"] if "text" in q]
    for _ in range(90):
        fields.append(rng.choice(words).capitalize())
        if slots == 2:
            fields.append(rng.choice(words))
        # A sample question's opening words, then words of the list: phrasing repeats as in a real
        # quiz, the rest does not.
        opening = rng.choice(texts).split()
        opening = opening[:rng.randint(2, min(6, len(opening)))]
        tail = [rng.choice(words) for _ in range(rng.randint(3, 8))]
        fields.append(" ".join(opening + tail) + rng.choice([" ?", ".", "", " ! Qui suis-je ?"]))
    comments = [" ".join(rng.choice(words) for _ in range(rng.randint(2, 5))) for _ in range(90)]
    body = b"".join(cp1252(f) + b"|" for f in fields)
    tail = bytes([reveal]) + (b"".join(cp1252(c) + b"|" for c in comments) if reveal == 2 else b"")
    header = bytes([0, rng.choice([1, 2, 3, 4]) + 1, 90, slots])
    return header + body + tail + bytes(rng.randrange(256) for _ in range(3))


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    out = pathlib.Path(sys.argv[1])
    examples = pathlib.Path(sys.argv[2] if len(sys.argv) > 2 else pathlib.Path(__file__).parents[2] / "examples")
    samples = [tomllib.loads(p.read_text(encoding="utf-8")) for p in sorted(examples.glob("*/quiz.toml"))]
    if not samples:
        sys.exit(f"make_inputs.py: no quiz.toml under {examples}")
    words = word_list()
    rng = random.Random(14)
    records = [quiz_record(rng, samples, words) for _ in range(8)]
    while sum(map(len, records)) < SIZE:
        records.append(quiz_record(rng, samples, words))

    out.mkdir(parents=True, exist_ok=True)
    (out / "prose.txt").write_bytes(prose())
    (out / "quiz.txt").write_bytes(b"".join(records)[:SIZE])
    for k, record in enumerate(records[:8], 1):
        (out / f"quiz90-{k}.txt").write_bytes(record)
    (out / "words.txt").write_bytes(cp1252("\n".join(words))[:SIZE])


if __name__ == "__main__":
    main()
