#!/usr/bin/env python3
"""Makes the show's web app folder from the one-file page: index.html (the page, with the web app
manifest, Apple's home-screen tags and the service worker's registration added to it), the
manifest, the icons and the service worker, which is told the build's files and their SHA-256
digests. The same inputs give the same bytes."""
import argparse
import hashlib
import json
import pathlib
import re
import shutil

ICONS = (("web-192.png", "192x192", "any"), ("web-512.png", "512x512", "any"),
         ("web-maskable-512.png", "512x512", "maskable"))
APPLE_ICON = "apple-touch-icon.png"
# The backdrop's dark blue, the first thing a tablet shows while the app starts.
BACKDROP = "#122850"
NAME = "Showcase"
DESCRIPTION = "Animated 3D presentation of thirteen hand-held devices"


def manifest(start: str) -> str:
    return json.dumps({
        "name": NAME,
        "short_name": NAME,
        "description": DESCRIPTION,
        "start_url": "./" + ("?" + start if start else ""),
        "scope": "./",
        "display": "fullscreen",
        "display_override": ["fullscreen", "standalone"],
        "orientation": "landscape",
        "background_color": BACKDROP,
        "theme_color": BACKDROP,
        "icons": [{"src": "icons/" + f, "sizes": s, "type": "image/png", "purpose": p} for f, s, p in ICONS],
    }, ensure_ascii=False, indent=2) + "\n"


def head_tags() -> str:
    return "\n".join([
        '<link rel="manifest" href="manifest.webmanifest">',
        f'<meta name="theme-color" content="{BACKDROP}">',
        '<meta name="mobile-web-app-capable" content="yes">',
        '<meta name="apple-mobile-web-app-capable" content="yes">',
        '<meta name="apple-mobile-web-app-status-bar-style" content="black-translucent">',
        f'<meta name="apple-mobile-web-app-title" content="{NAME}">',
        f'<link rel="apple-touch-icon" href="icons/{APPLE_ICON}">',
        '<link rel="icon" type="image/png" sizes="192x192" href="icons/web-192.png">',
    ]) + "\n"


def main() -> None:
    parser = argparse.ArgumentParser(description=__doc__)
    for name in ("page", "icons", "worker", "registration", "output"):
        parser.add_argument("--" + name, required=True, type=pathlib.Path)
    parser.add_argument("--start", default="", help="page options for the installed app's start, as kiosk&idle-reset=60")
    args = parser.parse_args()
    start = args.start.lstrip("?")
    if not re.fullmatch(r"[A-Za-z0-9._~%=&+-]*", start):
        raise SystemExit(f"web-site.py: --start '{args.start}': page options are letters, digits and . _ ~ % = & + -")

    out = args.output
    (out / "icons").mkdir(parents=True, exist_ok=True)
    page = args.page.read_text(encoding="utf-8")
    registration = args.registration.read_text(encoding="utf-8")
    if page.count("</head>") != 1 or page.count("</body>") != 1:
        raise SystemExit("web-site.py: the page must hold </head> and </body> once")
    page = page.replace("</head>", head_tags() + "</head>").replace(
        "</body>", "<script>\n" + registration + "</script>\n</body>")
    (out / "index.html").write_text(page, encoding="utf-8")
    (out / "manifest.webmanifest").write_text(manifest(start), encoding="utf-8")
    for icon in [f for f, _, _ in ICONS] + [APPLE_ICON]:
        shutil.copyfile(args.icons / icon, out / "icons" / icon)

    files = ["index.html", "manifest.webmanifest"] + ["icons/" + f for f, _, _ in ICONS] + ["icons/" + APPLE_ICON]
    digests = [[f, hashlib.sha256((out / f).read_bytes()).hexdigest()] for f in files]
    build = hashlib.sha256(json.dumps(digests).encode()).hexdigest()[:16]
    worker = args.worker.read_text(encoding="utf-8")
    for marker, text in (("@BUILD@", build), ("@FILES@", json.dumps(digests))):
        if worker.count(marker) != 1:
            raise SystemExit(f"web-site.py: the worker must hold {marker} once")
        worker = worker.replace(marker, text)
    (out / "worker.js").write_text(worker, encoding="utf-8")
    print(f"{out}: build {build}")


if __name__ == "__main__":
    main()
