#!/usr/bin/env python3
"""Makes the one-file page of the show: the shell with the page's script, the program's
JavaScript, and the WebAssembly and every .bmp of the picture folder gzip-compressed and
base64-encoded in inert <script> elements, which the page inflates with the browser's
DecompressionStream. The same inputs give the same bytes."""
import argparse
import base64
import gzip
import pathlib
import re
import sys


def packed(data: bytes) -> str:
    return base64.b64encode(gzip.compress(data, compresslevel=9, mtime=0)).decode("ascii")


def script_safe(text: str) -> str:
    # Inside <script> only "</script" (any case) and "<!--" can end or confuse the element.
    return re.sub(r"</(script)", r"<\\/\1", text, flags=re.IGNORECASE).replace("<!--", "<\\!--")


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__)
    for name in ("shell", "page", "program", "wasm", "pictures", "output"):
        parser.add_argument("--" + name, required=True, type=pathlib.Path)
    args = parser.parse_args()
    pictures = sorted(p for p in args.pictures.iterdir() if p.suffix.lower() == ".bmp" and p.is_file())
    for p in pictures:
        if not re.fullmatch(r"[A-Za-z0-9._-]+", p.name):
            print(f"web-page.py: leaving out '{p.name}': a picture's name in the page is letters, digits, '.', '_' "
                  "and '-'", file=sys.stderr)
    picture_elements = "\n".join(
        f'<script type="application/octet-stream" data-picture="{p.name}">{packed(p.read_bytes())}</script>'
        for p in pictures if re.fullmatch(r"[A-Za-z0-9._-]+", p.name))
    html = args.shell.read_text(encoding="utf-8")
    parts = {
        "@PICTURES@": picture_elements,
        "@WASM@": packed(args.wasm.read_bytes()),
        "@PROGRAM@": script_safe(args.program.read_text(encoding="utf-8")),
        "@PAGE@": script_safe(args.page.read_text(encoding="utf-8")),
    }
    for marker, text in parts.items():
        if html.count(marker) != 1:
            raise SystemExit(f"web-page.py: the shell must hold {marker} once")
        html = html.replace(marker, text)
    args.output.write_text(html, encoding="utf-8")


if __name__ == "__main__":
    main()
