#!/usr/bin/env python3
"""Compares the GL calls of two apitrace traces frame by frame: the Linux program and the Windows
program under Wine, recorded at the same screen size:

    apitrace trace -o linux.trace build/showcase
    apitrace trace -o windows.trace wine build-windows/packaging/windows/showcase.exe
    scripts/compare-gl-traces.py linux.trace windows.trace [FRAMES]   (default 1500)

A frame is every gl call up to a glXSwapBuffers, with its arguments; glX calls, apitrace's
"fake" calls and on Linux the push buttons the SDL backend draws over the frame before presenting
it (everything from its save of the texture binding on) are left out, as are any calls of a
frame before the program's first texture upload. Prints the first difference and exits 1, or
says how many frames and calls agree."""
import subprocess
import sys

OVERLAY_START = "glGetIntegerv(pname = GL_TEXTURE_BINDING_2D"


def frames(trace):
    dump = subprocess.run(["apitrace", "dump", "--call-nos=no", "--color=never", trace],
                          capture_output=True, text=True, check=True).stdout
    result, current, started = [], [], False
    for line in dump.splitlines():
        if line.startswith("glXSwapBuffers"):
            if started:
                result.append(current)
            current = []
            continue
        if not line.startswith("gl") or line.startswith("glX") or line.endswith("// fake"):
            continue
        if not started and line.startswith("glPixelStorei(pname = GL_UNPACK_ALIGNMENT"):
            started, current = True, []
        current.append(line)
    # On Linux the overlay of push buttons ends every frame; it is the platform's, not the show's.
    return [f[:next((i for i, c in enumerate(f) if c.startswith(OVERLAY_START)), len(f))] for f in result]


def main():
    linux, windows = frames(sys.argv[1]), frames(sys.argv[2])
    count = int(sys.argv[3]) if len(sys.argv) > 3 else 1500
    if min(len(linux), len(windows)) < count:
        print(f"too few frames: {len(linux)} on Linux, {len(windows)} on Windows, {count} asked")
        return 1
    calls = 0
    for n in range(count):
        if linux[n] != windows[n]:
            at = next((i for i, (a, b) in enumerate(zip(linux[n], windows[n])) if a != b),
                      min(len(linux[n]), len(windows[n])))
            print(f"frame {n + 1} differs at call {at + 1} ({len(linux[n])} calls on Linux, {len(windows[n])} on Windows)")
            print("  Linux:   " + (linux[n][at] if at < len(linux[n]) else "(end of frame)"))
            print("  Windows: " + (windows[n][at] if at < len(windows[n]) else "(end of frame)"))
            return 1
        calls += len(linux[n])
    print(f"{count} frames, {calls} GL calls: the same calls with the same arguments, frame for frame")
    return 0


if __name__ == "__main__":
    sys.exit(main())
