#!/usr/bin/env python3
"""Every rule text of the format models and of the restore steps is one of the
format's own (format_rule_texts.txt), character for character.

A rule's text is its condition or expected value as the preprocessor
stringifies it (a run of white space becomes one space), or the literal
given to AAA_RULE. A code formatter that re-spaces a condition ("32*N"
becoming "32 * N") changes what the diagnostic log prints; this test says
where.

    rule_texts_test.py SOURCE_ROOT
"""
import pathlib
import re
import sys

MACROS = re.compile(r"\b(AAA_VERIFY_EQUAL|AAA_VERIFY|AAA_CHECK|AAA_CORRECT|AAA_REPORT_FAILURE|AAA_FIXED|AAA_ALLOWED|AAA_REPORTED|AAA_RULE|AVCHD_START_ADDRESS)\s*\(")
RULE_CONSTANT = re.compile(r"constexpr const char\* k\w*Rule\s*=\s*((?:\s*\"(?:[^\"\\]|\\.)*\")+)\s*;")
STRING = re.compile(r'R"\((.*?)\)"|"((?:[^"\\]|\\.)*)"', re.S)


def arguments(source, open_at):
    """The top-level arguments of the call whose '(' is at open_at."""
    depth, at, current, found = 0, open_at, "", []
    while at < len(source):
        c = source[at]
        if c == '"' and source[at - 1] == "R":
            end = source.index(')"', at) + 2
            current, at = current + source[at:end], end
            continue
        if c in "\"'":
            end = at + 1
            while source[end] != c:
                end += 2 if source[end] == "\\" else 1
            current, at = current + source[at : end + 1], end + 1
            continue
        if c == "(":
            depth += 1
            if depth == 1:
                at += 1
                continue
        elif c == ")":
            depth -= 1
            if depth == 0:
                return found + [current]
        elif c == "," and depth == 1:
            found.append(current)
            current, at = "", at + 1
            continue
        current += c
        at += 1
    raise ValueError("unterminated call")


def literal(text):
    """The string a run of adjacent C++ string literals stands for; None if it is no literal."""
    text = text.strip()
    pieces = STRING.findall(text)
    if not pieces or STRING.sub("", text).strip():
        return None
    return "".join(raw or bytes(plain, "utf-8").decode("unicode_escape") for raw, plain in pieces)


def stringified(text):
    text = re.sub(r"//[^\n]*", "", text)
    return re.sub(r"\s+", " ", text).strip()


def rule_texts(root):
    for path in sorted(list((root / "avchdlib").glob("*.[ch]*")) + list((root / "restorelib").glob("*.[ch]*"))):
        source = path.read_text()
        for match in MACROS.finditer(source):
            line_start = source.rfind("\n", 0, match.start()) + 1
            if source[line_start : match.start()].lstrip().startswith("#define"):
                continue
            if source[:line_start].rstrip("\n").endswith("\\"):
                continue  # inside a macro's definition: checked where the macro is used
            line = source.count("\n", 0, match.start()) + 1
            args = arguments(source, match.end() - 1)
            if match.group(1) == "AVCHD_START_ADDRESS":
                text = f"{args[0].strip()} % 2 == 0"
            elif match.group(1) == "AAA_RULE":
                text = literal(args[0])
                if text is None:
                    continue  # a text handed in: its literal is checked where it is written
            else:
                text = stringified(args[-1])
            yield f"{path.relative_to(root)}:{line}", text
        for match in RULE_CONSTANT.finditer(source):
            yield f"{path.relative_to(root)}:{source.count(chr(10), 0, match.start()) + 1}", literal(match.group(1))


def main():
    root = pathlib.Path(sys.argv[1])
    known = set((pathlib.Path(__file__).parent / "format_rule_texts.txt").read_text().splitlines())
    unknown = [(where, text) for where, text in rule_texts(root) if text not in known]
    for where, text in unknown:
        print(f"{where}: the rule text is not the format's: {text}")
    return 1 if unknown else 0


if __name__ == "__main__":
    sys.exit(main())
