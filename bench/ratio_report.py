#!/usr/bin/env python3
"""Prints the library-to-baseline ratios of a qx_bench JSON file against their goals.

Usage: ratio_report.py RESULTS.json [--strict]

Every figure is the median of the repetitions. Single-threaded benchmarks are
compared on CPU time (a machine shared with other work steals wall time from
either side); the multi-threaded singleton ones on real time. With --strict
the exit status is 1 when a goal is missed.
"""
import json
import sys

QUERIES = ["GetManagedNE_VecToVec", "GetManagedNE_SetToSet", "GetAllManagedNE_Vec"]
SIZES = [1000, 10000, 100000, 1000000]
ALLOWED_EXTRA_ALLOCS = 16


def load_medians(path):
    with open(path) as f:
        data = json.load(f)
    medians = {}
    for run in data["benchmarks"]:
        if run.get("run_type") == "aggregate" and run.get("aggregate_name") == "median":
            medians[run["run_name"]] = run
    if not medians:  # a run without repetitions: take the single figures
        for run in data["benchmarks"]:
            medians.setdefault(run["run_name"], run)
    return medians


class Report:
    def __init__(self, medians):
        self.medians = medians
        self.missed = 0
        self.checked = 0

    def get(self, name):
        if name not in self.medians:
            raise SystemExit(f"ratio_report: no result for {name}")
        return self.medians[name]

    def verdict(self, met):
        self.checked += 1
        if not met:
            self.missed += 1
        return "ok" if met else "MISSED"

    def query_time(self, query, side, size):
        return self.get(f"{query}/{side}/{size}")["cpu_time"]

    def point1(self):
        print("1. Library against the least possible work (CPU time, median; goal <= 1.10 from 10^4)")
        print(f"   {'query':24} {'ids':>8} {'library':>12} {'baseline':>12} {'ratio':>6}  goal")
        for query in QUERIES:
            for size in SIZES:
                run = self.get(f"{query}/Library/{size}")
                lib = run["cpu_time"]
                base = self.query_time(query, "Baseline", size)
                ratio = lib / base
                unit = run["time_unit"]
                goal = self.verdict(ratio <= 1.10) if size >= 10000 else "(constant cost shown)"
                print(f"   {query:24} {size:>8} {lib:>10.1f}{unit:>2} {base:>10.1f}{unit:>2} "
                      f"{ratio:>6.3f}  {goal}")
        print()

    def point2(self):
        print("2. Linear cost: growth of time per id from 10^3 to 10^6 ids (goal: library <= 1.15 x baseline)")
        print(f"   {'query':24} {'library':>8} {'baseline':>9} {'ratio':>6}  goal")
        low, high = SIZES[0], SIZES[-1]
        for query in QUERIES:
            growth = {}
            for side in ("Library", "Baseline"):
                per_id_low = self.query_time(query, side, low) / low
                per_id_high = self.query_time(query, side, high) / high
                growth[side] = per_id_high / per_id_low
            ratio = growth["Library"] / growth["Baseline"]
            print(f"   {query:24} {growth['Library']:>8.3f} {growth['Baseline']:>9.3f} "
                  f"{ratio:>6.3f}  {self.verdict(ratio <= 1.15)}")
        print()

    def point3(self):
        print(f"3. Allocations per call (goal: library's own <= baseline + {ALLOWED_EXTRA_ALLOCS}, "
              "none per id; a vector output allocated once)")
        print("   platform = allocations inside the platform calls that only the library makes\n"
              "   (IsCloudNode and the stand-in's trace library for the two records)")
        print(f"   {'query':24} {'ids':>8} {'library':>9} {'baseline':>9} {'diff':>5} "
              f"{'platform':>8} {'own':>4} {'out':>4}  goal")
        for query in QUERIES:
            own_by_size = []
            for size in SIZES:
                lib = self.get(f"{query}/Library/{size}")
                base = self.get(f"{query}/Baseline/{size}")
                diff = lib["allocs_per_call"] - base["allocs_per_call"]
                platform = lib["platform_extra_allocs"]
                own = diff - platform
                own_by_size.append(own)
                out = lib.get("output_allocs")
                met = own <= ALLOWED_EXTRA_ALLOCS and (out is None or out == 1)
                out_text = "-" if out is None else f"{out:.0f}"
                print(f"   {query:24} {size:>8} {lib['allocs_per_call']:>9.0f} "
                      f"{base['allocs_per_call']:>9.0f} {diff:>5.0f} {platform:>8.0f} {own:>4.0f} "
                      f"{out_text:>4}  {self.verdict(met)}")
            constant = max(own_by_size) == min(own_by_size)
            print(f"   {query:24} own allocations the same at every size: "
                  f"{self.verdict(constant)}")
        print()

    def point4(self):
        print("4. Fast path of Instance() (real time, median; goal <= 0.2 x one lock and unlock)")
        print(f"   {'singleton':16} {'threads':>7} {'Instance':>9} {'lock':>8} {'ratio':>6}  goal"
              f"        {'lock+instance()':>15} {'ratio':>6} {'call floor':>10}")
        for threads in (1, 2):
            suffix = f"real_time/threads:{threads}"
            lock = self.get(f"StaticObjectLock/LockUnlock/{suffix}")["real_time"]
            taken = self.get(f"StaticObjectLock/InstanceLockUnlock/{suffix}")["real_time"]
            floor = self.get(f"CrossLibraryCall/Floor/{suffix}")["real_time"]
            for singleton in ("TEUserIDMgr", "QXSysEventMgrIF"):
                fast = self.get(f"Instance/{singleton}/{suffix}")["real_time"]
                ratio = fast / lock
                print(f"   {singleton:16} {threads:>7} {fast:>7.2f}ns {lock:>6.2f}ns {ratio:>6.3f}  "
                      f"{self.verdict(ratio <= 0.2):6}      {taken:>13.2f}ns {fast / taken:>6.3f} "
                      f"{floor:>8.2f}ns")
        print("   lock = the lock already in hand; lock+instance() = as a slow path takes it;\n"
              "   call floor = one trivial call into another shared library")
        print()

    def point5(self):
        print("5. Per-call overhead (CPU time, median; goal <= 1.10)")
        print(f"   {'operation':16} {'library':>10} {'baseline':>10} {'ratio':>6}  goal"
              f"    allocs lib/base")
        for operation in ("IsAdminUserID", "isNeManaged"):
            lib = self.get(f"{operation}/Library")
            base = self.get(f"{operation}/Baseline")
            ratio = lib["cpu_time"] / base["cpu_time"]
            print(f"   {operation:16} {lib['cpu_time']:>8.1f}ns {base['cpu_time']:>8.1f}ns "
                  f"{ratio:>6.3f}  {self.verdict(ratio <= 1.10):6}  "
                  f"{lib['allocs_per_call']:.0f}/{base['allocs_per_call']:.0f}")
        print()


def main(argv):
    if len(argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    report = Report(load_medians(argv[1]))
    report.point1()
    report.point2()
    report.point3()
    report.point4()
    report.point5()
    print(f"goals met: {report.checked - report.missed} of {report.checked}")
    return 1 if "--strict" in argv and report.missed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
