#!/usr/bin/env python3
"""Opens the real window offscreen on folders of 100,000 and 1,000,000 empty
files and prints the time to the first rows shown, the time to a complete
three-step preview, the longest event-loop stall of each, and the peak memory
per entry beside that of `tallowick --preview` on the same folder. The median
of RUNS runs (default 3) counts.
Usage: bench/window/run.py [build folder] [sizes...]"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))

def load_filelist_bench():
    """The folder and script makers of the command-line bench, bench/filelist/run.py."""
    import importlib.util
    spec = importlib.util.spec_from_file_location("filelist_bench",
                                                  os.path.join(ROOT, "bench", "filelist", "run.py"))
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


filelist = load_filelist_bench()

THREE_STEPS = [
    (10, {"cbxBeginningEnding": "0", "txtAZeros": "6"}),
    (3, {"cbReplaceOnly": "0", "cbxReplacePart": "2", "cbxReplaceTarget": "1",
         "txtReplacePhrase": "IMG_*", "txtReplaceWith": "photo", "txtRP2X": "1", "txtRP2Y": "10"}),
    (16, {"cbSTrim": "1", "txtSPhrase": " - "}),
]


def window_once(bench, folder, script):
    # A fresh home each run: the window would otherwise list the folder it
    # remembers from the last run before the one it is given.
    empty = tempfile.mkdtemp(dir=os.path.dirname(script))
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", TALLOWICK_HOME=empty)
    out = subprocess.run([bench, folder, script], env=env, check=True, cwd=empty,
                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True).stdout.split()
    shutil.rmtree(empty)
    return {k: float(v) for k, v in (pair.split("=") for pair in out)}


def command_line_once(exe, folder, script):
    """Seconds and peak KiB of one `tallowick --preview` (a fresh child each time)."""
    start = time.perf_counter()
    child = subprocess.Popen([exe, "--preview", script, folder], stdout=subprocess.DEVNULL)
    _, _, usage = os.wait4(child.pid, 0)
    return time.perf_counter() - start, usage.ru_maxrss


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build")
    sizes = [int(s) for s in sys.argv[2:]] or [100000, 1000000]
    runs = int(os.environ.get("RUNS", "3"))
    bench = os.path.join(build, "bench", "window", "bench_window")
    exe = os.path.join(build, "src", "app", "tallowick")
    work = tempfile.mkdtemp(prefix="tallowick-window-bench-", dir=os.environ.get("BENCH_TMP"))
    os.environ["TALLOWICK_HOME"] = os.path.join(work, "home")
    os.makedirs(os.environ["TALLOWICK_HOME"])
    script = os.path.join(work, "three.twscr")
    filelist.script_file(script, THREE_STEPS)
    try:
        for count in sizes:
            folder = os.path.join(work, "f%d" % count)
            filelist.make_folder(folder, count)
            window = [window_once(bench, folder, script) for _ in range(runs)]
            cli = [command_line_once(exe, folder, script) for _ in range(runs)]
            med = {k: statistics.median(w[k] for w in window) for k in window[0]}
            cli_s = statistics.median(c[0] for c in cli)
            cli_kib = statistics.median(c[1] for c in cli)
            print("%9d entries: first rows %.3f s (stall %.0f ms); complete preview %.3f s "
                  "(stall %.0f ms); memory %.0f bytes per entry (window start-up %.0f MiB) "
                  "= %.2fx the command line's %.0f (its preview %.3f s)"
                  % (count, med["first_rows_s"], med["scan_stall_ms"], med["preview_s"],
                     med["preview_stall_ms"], med["peak_kib"] * 1024.0 / count,
                     med["base_kib"] / 1024.0, med["peak_kib"] / cli_kib,
                     cli_kib * 1024.0 / count, cli_s))
            assert all(int(w["rows"]) == count for w in window), "the window listed too few rows"
            shutil.rmtree(folder)
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
