#!/usr/bin/env python3
"""Turns the JSON of the benchmark programs into the results table (medians of the repetitions)
and puts it into the README between its two markers.

Usage: bench_table.py README.md OUT.md MACHINE-TEXT RESULT.json..."""
import json
import sys

# (benchmark run name, what the user does, figure counter or None for the time, reference
#  counter, ratio counter, budget text, check(figure, ratio) or None)
ROWS = [
    ("BM_LoadClick/manual_time", '"Load Data": files, name tables and the people list',
     None, "cat_ms", "x_cat", "< 16 ms", lambda f, r: f < 16),
    ("BM_NameTables/manual_time", "of which: the three name tables",
     None, "cat_ms", "x_cat", "", None),
    ("BM_PeopleListFill/manual_time", "of which: the people list (50000 persons)",
     None, "cat_ms", "x_cat", "", None),
    ("BM_FilterKeystroke90000/1/manual_time", "Filter keystroke over 90000 labels, 1 letter",
     None, "cat_ms", "x_cat", "< 5 ms", lambda f, r: f < 5),
    ("BM_FilterKeystroke90000/3/manual_time", "Filter keystroke over 90000 labels, 3 letters",
     None, "cat_ms", "x_cat", "< 5 ms", lambda f, r: f < 5),
    ("BM_PlayerSearchAndShow/manual_time", "Player search and show (last player)",
     None, "cat_ms", "x_cat", "< 5 ms", lambda f, r: f < 5),
    ("BM_PlayerSave/manual_time", "Player save, every reference looked up by name",
     None, "cat_ms", "x_cat", "< 5 ms", lambda f, r: f < 5),
    ("BM_PlayerSave/manual_time", "the same, CPU time (the journal's syncs left out)",
     "cpu_ms", None, None, "< 5 ms", lambda f, r: f < 5),
    ("BM_PlayerSaveWithoutJournal/manual_time",
     "the same written without the journal (in place, no sync)",
     None, "cat_ms", "x_cat", "", None),
    ("BM_LookupLastSecondName/manual_time", "Lookup of the last record of second_names.dat",
     None, "cat_ms", "x_cat", "", None),
    ("BM_PlayerTransfer/manual_time", "Player transfer to a club typed by name",
     None, "cat_ms", "x_cat", "< 5 ms", lambda f, r: f < 5),
    ("BM_PlayerTransfer/manual_time", "the same, CPU time (the journal's syncs left out)",
     "cpu_ms", None, None, "< 5 ms", lambda f, r: f < 5),
    ("BM_PlayerTransferWithoutJournal/manual_time",
     "the same written without the journal (in place, no sync)",
     None, "cat_ms", "x_cat", "", None),
    ("BM_StaffSearchAndShow/manual_time", "Staff search and show (last staff member)",
     None, "cat_ms", "x_cat", "< 5 ms", lambda f, r: f < 5),
    ("BM_StaffSave/manual_time", "Staff save, every reference looked up by name",
     None, "cat_ms", "x_cat", "< 5 ms", lambda f, r: f < 5),
    ("BM_StaffAppointment/manual_time", "Staff appointment to a club typed by name",
     None, "cat_ms", "x_cat", "< 5 ms", lambda f, r: f < 5),
    ("BM_ClubSearchAndShow/manual_time", "Club search and show (last club, 50 players, full staff)",
     None, "cat_ms", "x_cat", "< 5 ms", lambda f, r: f < 5),
    ("BM_ClubSave/manual_time", "Club save, every reference looked up by name",
     None, "cat_ms", "x_cat", "< 5 ms", lambda f, r: f < 5),
    ("BM_StadiumSearchAndShow/manual_time", "Stadium search and show (last stadium)",
     None, "cat_ms", "x_cat", "", None),
    ("BM_StadiumSave/manual_time", "Stadium save, nearby stadium looked up by name",
     None, "cat_ms", "x_cat", "", None),
    ("BM_Backup/manual_time", "Backup of the file set (ratio to `cp -r`)",
     None, "cp_ms", "x_cp", "< 1.5 x cp -r", lambda f, r: r < 1.5),
    ("BM_Backup/manual_time", "the same, ratio to `cp -r` then `sync` of the copies",
     None, "cp_sync_ms", "x_cp_sync", "", None),
    ("BM_Restore/manual_time", "Restore, with the reload (ratio to `cp -r`)",
     None, "cp_ms", "x_cp", "", None),
    ("BM_DiffAgainstBackup/manual_time",
     "Changes since the backup: diff with 1000 records changed (ratio to reading both)",
     None, "cat_ms", "x_cat", "< 1000 ms", lambda f, r: f < 1000),
    ("BM_DiffAgainstBackup/manual_time", "the same, CPU time",
     "cpu_ms", None, None, "", None),
    ("BM_StartUp/iterations:3", "Start-up to a usable window, CPU time",
     "cpu_ms", None, None, "< 150 ms", lambda f, r: f < 150),
    ("BM_PeakMemory/iterations:1", "Peak memory, full sample loaded, people list filled",
     "peak_MB", None, None, "< 100 MB", lambda f, r: f < 100),
]

BEGIN = "<!-- benchmark results: scripts/run-benchmarks writes this table -->"
END = "<!-- end of benchmark results -->"


def medians(paths):
    out = {}
    for p in paths:
        with open(p) as f:
            data = json.load(f)
        for b in data["benchmarks"]:
            if b.get("run_type") == "aggregate" and b.get("aggregate_name") != "median":
                continue
            out[b["run_name"]] = b  # the median, or the only run
    return out


def fmt(v, unit=""):
    if v is None:
        return "—"
    if v >= 100:
        return f"{v:.0f}{unit}"
    if v >= 10:
        return f"{v:.1f}{unit}"
    return f"{v:.2f}{unit}"


def table(results, machine):
    lines = ["| Action | Median | Plain read of its files | Ratio | Budget | Met |",
             "|---|---:|---:|---:|---|---|"]
    for run, what, counter, ref, ratio, budget, check in ROWS:
        b = results.get(run)
        if b is None:
            lines.append(f"| {what} | not run | | | {budget} | |")
            continue
        unit = " MB" if counter == "peak_MB" else " ms"
        figure = b[counter] if counter else b["real_time"]
        refv = b.get(ref) if ref else None
        ratiov = b.get(ratio) if ratio else None
        met = ("yes" if check(figure, ratiov) else "**no**") if check else ""
        lines.append(f"| {what} | {fmt(figure, unit)} | {fmt(refv, ' ms') if ref else '—'} | "
                     f"{fmt(ratiov) + ' x' if ratiov is not None else '—'} | {budget} | {met} |")
    lines.append("")
    lines.append(f"Medians of the repetitions of one run of `scripts/run-benchmarks` on {machine}. "
                 "Ratio: the action's time over a plain read (like `cat`) of the files it works "
                 "on (for the filter, staff.dat, which its labels come from); for backup and "
                 "restore, over `cp -r` of the same files. Start-up and peak memory are each "
                 "measured in fresh processes.")
    return "\n".join(lines) + "\n"


def main():
    readme, out, machine, *paths = sys.argv[1:]
    text = table(medians(paths), machine)
    with open(out, "w") as f:
        f.write(text)
    with open(readme) as f:
        doc = f.read()
    if BEGIN in doc and END in doc:
        head, rest = doc.split(BEGIN, 1)
        _, tail = rest.split(END, 1)
        with open(readme, "w") as f:
            f.write(head + BEGIN + "\n\n" + text + "\n" + END + tail)
    sys.stdout.write(text)


if __name__ == "__main__":
    main()
