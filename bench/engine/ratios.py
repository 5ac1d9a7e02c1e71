#!/usr/bin/env python3
"""ratios.py JSON — prints each batch figure of engine_bench's Google Benchmark
JSON (run with repetitions, interleaved) as a multiple of the crash-safe copy of
the same 1,000 files (temporary name, flush, rename with write-through), its
floor, and of a plain copy loop: the median and the mean over the repetitions.
"""
import json
import sys

runs = {}
for b in json.load(open(sys.argv[1]))["benchmarks"]:
    if b.get("run_type") == "aggregate" and b["aggregate_name"] in ("mean", "median"):
        runs[(b["run_name"].replace("/real_time", ""), b["aggregate_name"])] = b["real_time"]
for stat in ("median", "mean"):
    safe, copy = runs[("BM_CrashSafeCopy", stat)], runs[("BM_CopyFileW", stat)]
    print(f"{stat}: crash-safe copy {safe:.0f} ms, plain copy {copy:.0f} ms")
    for name in ("BM_BatchInstallInProcess", "BM_BatchInstallLexinstExe", "BM_LexinstExeNoFiles"):
        t = runs[(name, stat)]
        print(f"  {name:28} {t:7.0f} ms  {t / safe:5.2f}x the crash-safe copy  {t / copy:5.2f}x the plain copy")
