#!/usr/bin/env python3
"""Times the scan and the preview of `tallowick --preview` on folders of
100,000 and 1,000,000 empty files against `find`, and reports the peak memory
per entry. Usage: bench/filelist/run.py [path to tallowick] [sizes...]"""
import os
import resource
import shutil
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def script_file(path, steps):
    """Writes a script file: UTF-16LE with byte-order mark, CR LF, _unicode keys."""
    text = ""
    for i, (kind, params) in enumerate(steps):
        enabled = params.pop("ENABLED", "1")
        keys = [("TYPE", str(kind)), ("ENABLED", enabled)] + sorted(params.items(), key=lambda kv: kv[0].lower())
        text += "[SCRIPT%d]\r\n" % i + "".join("%s_unicode=%s\r\n" % kv for kv in keys) + "\r\n"
    with open(path, "wb") as f:
        f.write(b"\xff\xfe" + text.encode("utf-16-le"))


def make_folder(path, count):
    os.makedirs(path)
    for i in range(count):
        with open(os.path.join(path, "IMG_%07d - holiday.jpg" % i), "wb"):
            pass


def timed(command):
    """Wall seconds of the median of three runs and the peak memory (KiB) of one run.
    Each run is its own child, measured by wait4, so the peak is that command's."""
    times = []
    peak = 0
    for _ in range(3):
        start = time.perf_counter()
        child = subprocess.Popen(command, stdout=subprocess.DEVNULL)
        _, status, usage = os.wait4(child.pid, 0)
        times.append(time.perf_counter() - start)
        if os.waitstatus_to_exitcode(status) != 0:
            raise SystemExit("%s failed" % " ".join(command))
        peak = max(peak, usage.ru_maxrss)
    return sorted(times)[1], peak


def main():
    exe = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "src", "app", "tallowick")
    sizes = [int(s) for s in sys.argv[2:]] or [100000, 1000000]
    work = tempfile.mkdtemp(prefix="tallowick-bench-")
    env_home = os.path.join(work, "home")
    os.makedirs(env_home)
    os.environ["TALLOWICK_HOME"] = env_home
    empty = os.path.join(work, "empty.twscr")
    three = os.path.join(work, "three.twscr")
    # The scan alone: one step that is switched off (a script needs a step).
    script_file(empty, [(3, {"ENABLED": "0", "cbReplaceOnly": "0", "txtReplacePhrase": "x",
                             "txtReplaceWith": "y"})])
    script_file(three, [
        (10, {"cbxBeginningEnding": "0", "txtAZeros": "6"}),
        (3, {"cbReplaceOnly": "0", "cbxReplacePart": "2", "cbxReplaceTarget": "1",
             "txtReplacePhrase": "IMG_*", "txtReplaceWith": "photo", "txtRP2X": "1", "txtRP2Y": "10"}),
        (16, {"cbSTrim": "1", "txtSPhrase": " - "}),
    ])
    try:
        for count in sizes:
            folder = os.path.join(work, "f%d" % count)
            make_folder(folder, count)
            find_time, _ = timed(["find", folder, "-maxdepth", "1", "-printf", "%s %T@ %f\n"])
            scan_time, _ = timed([exe, "--preview", empty, folder])
            preview_time, peak_kib = timed([exe, "--preview", three, folder])
            per_entry_us = (preview_time - scan_time) / count * 1e6
            print("%9d entries: find %.3f s, scan (no step on) %.3f s = %.2fx find; "
                  "three-step preview %.3f s = %.2fx find, %.2f us per entry beyond the scan; "
                  "peak memory %.0f bytes per entry"
                  % (count, find_time, scan_time, scan_time / find_time, preview_time,
                     preview_time / find_time, per_entry_us, peak_kib * 1024.0 / count))
            shutil.rmtree(folder)
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
