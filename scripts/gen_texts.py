#!/usr/bin/env python3
"""Turns a list of UI texts written in UTF-8 into a C++ header of EUC-JP literals.

Each line of the input is NAME, a tab, and the text; '#' lines and blank lines
are skipped. The text may use the C escapes \\n, \\t and \\\\.
"""
import sys


def literal(text: str) -> str:
    """Adjacent string literals, so that a hex escape never swallows the next character."""
    parts, plain = [], ""
    for byte in text.encode("euc_jp"):
        if byte >= 0x80 or byte < 0x20 or byte in (0x22, 0x5C):
            if plain:
                parts.append('"%s"' % plain)
                plain = ""
            parts.append('"\\x%02x"' % byte)
        else:
            plain += chr(byte)
    if plain or not parts:
        parts.append('"%s"' % plain)
    return " ".join(parts)


def main() -> None:
    source, target, guard = sys.argv[1], sys.argv[2], sys.argv[3]
    lines = [f"// Generated from {source.split('/')[-2]}/texts.txt: EUC-JP texts. Do not edit.",
             f"#ifndef {guard}", f"#define {guard}", ""]
    with open(source, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            raw = raw.rstrip("\n")
            if not raw.strip() or raw.startswith("#"):
                continue
            name, sep, text = raw.partition("\t")
            if not sep:
                sys.exit(f"{source}:{number}: expected NAME<TAB>text")
            text = text.encode("utf-8").decode("unicode_escape").encode("latin-1").decode("utf-8")
            lines.append(f"inline constexpr const char {name}[] = {literal(text)};  // {raw.partition(chr(9))[2]}")
    lines += ["", "#endif", ""]
    with open(target, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))


if __name__ == "__main__":
    main()
