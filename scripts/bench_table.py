#!/usr/bin/env python3
"""Turns the rounds of benchmark results that scripts/bench.sh collected into
the table of docs/performance.md: median CPU time per benchmark (and per
build with a baseline), the spread of the rounds, and the goals' ratios."""
import glob
import json
import os
import platform
import statistics
import subprocess
import sys
import time

START, END = "<!-- bench table start -->", "<!-- bench table end -->"


def load(folder, side):
    times = {}  # name -> list of ms, one per round
    context = None
    for path in sorted(glob.glob(os.path.join(folder, side + "-*.json"))):
        with open(path) as f:
            data = json.load(f)
        context = data["context"]
        for b in data["benchmarks"]:
            if b.get("error_occurred"):
                continue
            scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
            times.setdefault(b["name"], []).append(b["cpu_time"] * scale)
    return times, context


def cpu_model():
    try:
        out = subprocess.run(["lscpu"], capture_output=True, text=True).stdout
        for line in out.splitlines():
            if line.startswith("Model name:"):
                return line.split(":", 1)[1].strip()
    except OSError:
        pass
    return platform.processor() or "unknown"


def fmt(ms):
    return f"{ms:.3f}" if ms < 10 else f"{ms:.1f}"


def main(folder, doc):
    after, context = load(folder, "after")
    before, _ = load(folder, "before")
    med = {k: statistics.median(v) for k, v in after.items()}
    bmed = {k: statistics.median(v) for k, v in before.items()}
    spread = {k: (max(v) - min(v)) / statistics.median(v) if statistics.median(v) else 0
              for k, v in after.items()}
    lines = []
    rounds = max((len(v) for v in after.values()), default=0)
    lines.append(f"Measured {time.strftime('%Y-%m-%d %H:%M UTC', time.gmtime())} on {cpu_model()}, "
                 f"{context.get('num_cpus', '?')} processors, load average at the start "
                 f"{', '.join(f'{x:.2f}' for x in context.get('load_avg', []))}; "
                 f"median CPU time of {rounds} rounds, one thread.")
    lines.append("")
    goals = []

    def ratio(a, b):
        return med[a] / med[b] if a in med and b in med and med[b] else None

    chain = ratio("RunExport/BufToJpg/640/480", "BM_PeerChainVngJpeg")
    if chain is not None:
        goals.append(f"| default development to JPEG / OpenCV VNG + libjpeg-turbo encode | "
                     f"{fmt(med['RunExport/BufToJpg/640/480'])} / {fmt(med['BM_PeerChainVngJpeg'])} ms | "
                     f"{chain:.2f} (goal at most 0.80) |")
    if "BM_BeforeStagesDefault" in med and "BM_LoadFrameOnly" in med:
        b = med["BM_BeforeStagesDefault"] - med["BM_LoadFrameOnly"]
        goals.append(f"| before \"123\" (less the frame load) | {fmt(b)} ms | goal at most 0.400 ms |")
    for mine, peer in (("Run/Tvng/640/480", "RunDemosaic/OpenCvVng"),
                       ("Run/Bilinear/640/480", "RunDemosaic/OpenCvBilinear"),
                       ("BM_JpegWriterAlone", "BM_PeerJpegEncode")):
        r = ratio(mine, peer)
        if r is not None:
            goals.append(f"| {mine} / {peer} | {fmt(med[mine])} / {fmt(med[peer])} ms | {r:.2f} |")
    if goals:
        lines += ["| goal | times | ratio |", "|---|---|---|"] + goals + [""]

    if bmed:
        lines += ["| benchmark | before ms | after ms | after / before | spread of rounds |",
                  "|---|---:|---:|---:|---:|"]
    else:
        lines += ["| benchmark | ms | spread of rounds |", "|---|---:|---:|"]
    for name in after:  # the program's own order
        m = med[name]
        if bmed:
            b = bmed.get(name)
            rel = f"{m / b:.2f}" if b else "—"
            lines.append(f"| {name} | {fmt(b) if b else '—'} | {fmt(m)} | {rel} | {spread[name]:.0%} |")
        else:
            lines.append(f"| {name} | {fmt(m)} | {spread[name]:.0%} |")
    table = "\n".join(lines)

    text = open(doc).read() if os.path.exists(doc) else f"# Performance\n\n{START}\n{END}\n"
    if START not in text:
        text += f"\n{START}\n{END}\n"
    head, rest = text.split(START, 1)
    _, tail = rest.split(END, 1)
    with open(doc, "w") as f:
        f.write(f"{head}{START}\n{table}\n{END}{tail}")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
