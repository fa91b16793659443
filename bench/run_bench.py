#!/usr/bin/env python3
"""Times kolvane-cli against a plain read of the same files, as whole
processes, on the two benchmark projects of make_projects.py, and the change
counts (--diff) against --all on a copy with about 5% of the statements
changed, moved or re-cased (make_changed_copy.py). Then the change counts of
a whole release: --diff of two folders of 20 copies of the samples project,
each changed so in the new one (make_release.py), against --all over both
folders.

    bench/run_bench.py [--cli build/release/cli/kolvane-cli] [--runs 7] [--folder build/bench]

Build the program first: cmake --preset release && cmake --build --preset release
Each command runs --runs times, in turn with the others (A B C ... A B C ...),
after one run not counted; the table gives the median wall time, its ratio to
the plain read (or to --all for the diff), and the largest peak resident
memory of any run. Files stay in the page cache between runs.
"""
import argparse
import os
import pathlib
import statistics
import subprocess
import sys
import time

HERE = pathlib.Path(__file__).resolve().parent


GNU_TIME = "/usr/bin/time"  # Debian package "time": the peak memory of the command itself


def timed(command, cwd, peak_file):
    """Wall seconds and peak resident memory (KiB) of one run."""
    start = time.perf_counter()
    result = subprocess.run([GNU_TIME, "-f", "%M", "-o", peak_file, *command], cwd=cwd,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wall = time.perf_counter() - start
    if result.returncode != 0:
        sys.exit(f"failed: {' '.join(command)}")
    return wall, int(pathlib.Path(peak_file).read_text().split()[-1])


def measure(commands, runs, cwd):
    """name -> (median wall, peak KiB) with the commands run in turn."""
    walls = {name: [] for name in commands}
    peaks = {name: 0 for name in commands}
    for round_ in range(runs + 1):
        for name, command in commands.items():
            wall, peak = timed(command, cwd, str(pathlib.Path(cwd).parent / "peak.txt"))
            if round_ == 0:
                continue  # warm-up: the files come into the page cache
            walls[name].append(wall)
            peaks[name] = max(peaks[name], peak)
    return {name: (statistics.median(walls[name]), peaks[name]) for name in commands}


RELEASE_COPIES = 20


def largest_module(folder):
    return max(p.stat().st_size for p in folder.rglob("*") if p.suffix in (".frm", ".bas", ".cls"))


def members(project):
    folder = project.parent
    return sorted(str(p) for p in folder.iterdir() if p.suffix in (".frm", ".bas", ".cls"))


def print_table(title, results, base, largest):
    print(f"\n{title}")
    print(f"{'command':<28}{'median s':>10}{'ratio':>8}{'peak MiB':>10}")
    for name, (wall, peak) in results.items():
        print(f"{name:<28}{wall:>10.3f}{wall / results[base][0]:>8.2f}{peak / 1024:>10.1f}")
    print(f"largest module file: {largest / 2**20:.1f} MiB")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", default="build/release/cli/kolvane-cli")
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--folder", default="build/bench")
    args = parser.parse_args()
    cli = str(pathlib.Path(args.cli).resolve())
    folder = pathlib.Path(args.folder).resolve()
    out = folder / "out"
    out.mkdir(parents=True, exist_ok=True)

    made = subprocess.run([sys.executable, str(HERE / "make_projects.py"), str(folder)], check=True,
                          capture_output=True, text=True).stdout.split()
    for project in map(pathlib.Path, made):
        files = members(project)
        largest = max(os.path.getsize(f) for f in files)
        commands = {"plain read (cat)": ["sh", "-c", 'cat "$@" >/dev/null', "cat"] + files}
        for option in (["--steps"], ["--procedures"], ["--apis"], ["--all"], ["--format", "csv", "--all"],
                       ["--all", "--unused"], ["--inventory"]):
            commands["kolvane-cli " + " ".join(option)] = [cli, *option, "-o", str(out), str(project)]
        results = measure(commands, args.runs, project.parent)
        print_table(f"{project.parent.name}: {len(files)} modules, "
                    f"{sum(os.path.getsize(f) for f in files) / 2**20:.0f} MiB", results, "plain read (cat)", largest)

        changed = folder / (project.parent.name + "-changed")
        if not (changed / project.name).exists():
            subprocess.run([sys.executable, str(HERE / "make_changed_copy.py"), str(project), str(changed)],
                           check=True, capture_output=True)
        diff = {"kolvane-cli --all": [cli, "--all", "-o", str(out), str(project)],
                "kolvane-cli --diff": [cli, "--diff", str(project), str(changed / project.name), "-o", str(out)]}
        results = measure(diff, args.runs, project.parent)
        print_table(f"{project.parent.name}: --diff against a copy with 5% of the statements changed", results,
                    "kolvane-cli --all", largest)

    # The release: 20 copies of the samples project (the generated one would
    # take 13 GB), each with 5% of its statements changed in the new folder.
    samples = pathlib.Path(made[-1])
    release = folder / "release"
    if not (release / "new").exists():
        subprocess.run([sys.executable, str(HERE / "make_release.py"), str(samples), str(release),
                        "--copies", str(RELEASE_COPIES)], check=True, capture_output=True)
    old, new = str(release / "old"), str(release / "new")
    commands = {"kolvane-cli --all, both folders": [cli, "--all", "-o", str(out), old, new],
                "kolvane-cli --diff OLD NEW": [cli, "--diff", "--summary", str(out / "release.csv"), "-o", str(out),
                                               old, new]}
    results = measure(commands, args.runs, release)
    print_table(f"release: {RELEASE_COPIES} copies of {samples.parent.name}, 5% of each changed", results,
                "kolvane-cli --all, both folders", largest_module(release / "new"))


if __name__ == "__main__":
    main()
