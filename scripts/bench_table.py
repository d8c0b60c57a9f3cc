#!/usr/bin/env python3
"""Turns the JSON of the benchmark programs into the results tables (medians of the repetitions)
and puts them into the README between its two markers: the warm figures (each action repeated in
one process) and the first action of a session (each in a fresh process).

Usage: bench_table.py README.md OUT.md MACHINE-TEXT RESULT.json..."""
import json
import sys

# (benchmark run name, what the user does, figure counter or None for the time, reference
#  counter, ratio counter, budget text, check(figure, ratio, cpu) or None)
ROWS = [
    ("BM_LoadClick/manual_time", '"Load Data": files, name tables and the people list',
     None, "cat_ms", "x_cat", "< 16 ms", lambda f, r, c: f < 16),
    ("BM_NameTables/manual_time", "of which: the three name tables",
     None, "cat_ms", "x_cat", "", None),
    ("BM_PeopleListFill/manual_time", "of which: the people list (50000 persons)",
     None, "cat_ms", "x_cat", "", None),
    ("BM_FilterKeystroke90000/1/manual_time", "Filter keystroke over 90000 labels, 1 letter",
     None, "cat_ms", "x_cat", "< 5 ms", lambda f, r, c: f < 5),
    ("BM_FilterKeystroke90000/3/manual_time", "Filter keystroke over 90000 labels, 3 letters",
     None, "cat_ms", "x_cat", "< 5 ms", lambda f, r, c: f < 5),
    ("BM_PlayerSearchAndShow/manual_time", "Player search and show (last player)",
     None, "cat_ms", "x_cat", "< 5 ms", lambda f, r, c: f < 5),
    ("BM_PlayerSave/manual_time", "Player save, every reference looked up by name",
     None, "cat_ms", "x_cat", "< 5 ms", lambda f, r, c: f < 5),
    ("BM_PlayerSave/manual_time", "the same, CPU time (the journal's syncs left out)",
     "cpu_ms", None, None, "< 5 ms", lambda f, r, c: f < 5),
    ("BM_PlayerSaveWithoutJournal/manual_time",
     "the same written without the journal (in place, no sync)",
     None, "cat_ms", "x_cat", "", None),
    ("BM_LookupLastSecondName/manual_time", "Lookup of the last record of second_names.dat",
     None, "cat_ms", "x_cat", "", None),
    ("BM_PlayerTransfer/manual_time", "Player transfer to a club typed by name",
     None, "cat_ms", "x_cat", "< 5 ms", lambda f, r, c: f < 5),
    ("BM_PlayerTransfer/manual_time", "the same, CPU time (the journal's syncs left out)",
     "cpu_ms", None, None, "< 5 ms", lambda f, r, c: f < 5),
    ("BM_PlayerTransferWithoutJournal/manual_time",
     "the same written without the journal (in place, no sync)",
     None, "cat_ms", "x_cat", "", None),
    ("BM_StaffSearchAndShow/manual_time", "Staff search and show (last staff member)",
     None, "cat_ms", "x_cat", "< 5 ms", lambda f, r, c: f < 5),
    ("BM_StaffSave/manual_time", "Staff save, every reference looked up by name",
     None, "cat_ms", "x_cat", "< 5 ms", lambda f, r, c: f < 5),
    ("BM_StaffAppointment/manual_time", "Staff appointment to a club typed by name",
     None, "cat_ms", "x_cat", "< 5 ms", lambda f, r, c: f < 5),
    ("BM_ClubSearchAndShow/manual_time", "Club search and show (last club, 50 players, full staff)",
     None, "cat_ms", "x_cat", "< 5 ms", lambda f, r, c: f < 5),
    ("BM_ClubSave/manual_time", "Club save, every reference looked up by name",
     None, "cat_ms", "x_cat", "< 5 ms", lambda f, r, c: f < 5),
    ("BM_StadiumSearchAndShow/manual_time", "Stadium search and show (last stadium)",
     None, "cat_ms", "x_cat", "", None),
    ("BM_StadiumSave/manual_time", "Stadium save, nearby stadium looked up by name",
     None, "cat_ms", "x_cat", "", None),
    ("BM_ExportPlayers/manual_time", "Export of the players table as CSV (35000 rows)",
     None, "cat_ms", "x_cat", "< 1 s", lambda f, r, c: f < 1000),
    ("BM_ImportPlayers/manual_time", "Import of that file, unchanged (every cell checked)",
     None, "cat_ms", "x_cat", "< 1 s", lambda f, r, c: f < 1000),
    ("BM_TableOpenPlayers/manual_time", "Table view: opening the players table",
     None, "cat_ms", "x_cat", "< 150 ms", lambda f, r, c: f < 150),
    ("BM_TableSort/0/manual_time", "Table view: sort of the players by pace",
     None, "cat_ms", "x_cat", "< 50 ms", lambda f, r, c: f < 50),
    ("BM_TableSort/1/manual_time", "Table view: sort of the players by label",
     None, "cat_ms", "x_cat", "< 50 ms", lambda f, r, c: f < 50),
    ("BM_TableSort/2/manual_time", "Table view: sort of the players by nationality (names)",
     None, "cat_ms", "x_cat", "< 50 ms", lambda f, r, c: f < 50),
    ("BM_TableFilterKeystroke/0/manual_time",
     "Table view: filter keystroke, `PLayerPace>=18 and PlayerYearOB>=1980`",
     None, "cat_ms", "x_cat", "< 16 ms", lambda f, r, c: f < 16),
    ("BM_TableFilterKeystroke/1/manual_time", "Table view: name filter keystroke",
     None, "cat_ms", "x_cat", "< 16 ms", lambda f, r, c: f < 16),
    ("BM_TableSave100/manual_time", "Table view: Save Data of a column pasted into 100 rows",
     None, "cat_ms", "x_cat", "< 16 ms CPU", lambda f, r, c: c < 16),
    ("BM_Backup/manual_time", "Backup of the file set (ratio to `cp -r`)",
     None, "cp_ms", "x_cp", "< 1.5 x cp -r", lambda f, r, c: r < 1.5),
    ("BM_Backup/manual_time", "the same, ratio to `cp -r` then `sync` of the copies",
     None, "cp_sync_ms", "x_cp_sync", "", None),
    ("BM_Restore/manual_time", "Restore, with the reload (ratio to `cp -r`)",
     None, "cp_ms", "x_cp", "", None),
    ("BM_DiffAgainstBackup/manual_time",
     "Changes since the backup: diff with 1000 records changed (ratio to reading both)",
     None, "cat_ms", "x_cat", "< 1000 ms", lambda f, r, c: f < 1000),
    ("BM_ReadPlayerRecords/manual_time", "Every player read as a formula reads it (35000 rows)",
     None, "cat_ms", "x_cat", "", None),
    ("BM_SetPaceOfEveryPlayer/0/manual_time", "`vhtool set` of the pace of every player, `--dry-run`",
     None, "cat_ms", "x_cat", "< 1 s", lambda f, r, c: f < 1000),
    ("BM_SetPaceOfEveryPlayer/1/manual_time", "the same, written through the journal",
     None, "cat_ms", "x_cat", "< 1 s", lambda f, r, c: f < 1000),
    ("BM_RefsBigClub/manual_time", "What points here: the club with the largest squad",
     None, "cat_ms", "x_cat", "< 50 ms", lambda f, r, c: f < 50),
    ("BM_RefsNation/manual_time", "What points here: the nation of the most persons",
     None, "cat_ms", "x_cat", "< 50 ms", lambda f, r, c: f < 50),
    ("BM_PeakMemory/iterations:1", "Peak memory, full sample loaded, people list filled",
     "peak_MB", None, None, "< 100 MB", lambda f, r, c: f < 100),
    ("BM_PeakMemoryTable/iterations:1", "Peak memory, the same with the players table open",
     "peak_MB", None, None, "< 150 MB", lambda f, r, c: f < 150),
]


def first(name):
    return f"BM_First/{name}/iterations:1/repeats:5/manual_time"


def under(ms):
    return lambda f, r, c: f < ms


# The first action of a session, each in a fresh process that first does what a user does before
# it (the load, the mode switch, the choice of the line); the same columns, the wall time first.
FIRST_ROWS = [
    ("BM_StartUp/iterations:1/repeats:5", "Start-up to a usable window",
     "main_wall_ms", None, None, "< 150 ms CPU", lambda f, r, c: c < 150),
    (first("Load"), '"Load Data" with the people list',
     None, "cat_ms", "x_cat", "< 16 ms", under(16)),
    (first("LoadAtOnce"), 'the same, pressed the moment the window appears',
     None, "cat_ms", "x_cat", "< 16 ms", under(16)),
    (first("PlayerSearch"), "Player search and show (last player)",
     None, "cat_ms", "x_cat", "< 5 ms", under(5)),
    (first("StaffList"), "Staff list (mode switch)",
     None, "cat_ms", "x_cat", "< 16 ms", under(16)),
    (first("StaffSearch"), "Staff search and show (last staff member)",
     None, "cat_ms", "x_cat", "< 5 ms", under(5)),
    (first("ClubList"), "Club list (mode switch)",
     None, "cat_ms", "x_cat", "< 16 ms", under(16)),
    (first("ClubSearch"), "Club search and show (last club, 50 players, full staff)",
     None, "cat_ms", "x_cat", "< 5 ms", under(5)),
    (first("StadiumList"), "Stadium list (mode switch)",
     None, "cat_ms", "x_cat", "< 16 ms", under(16)),
    (first("StadiumSearch"), "Stadium search and show (last stadium)",
     None, "cat_ms", "x_cat", "< 5 ms", under(5)),
    (first("NationList"), "Nation list (mode switch)",
     None, "cat_ms", "x_cat", "< 16 ms", under(16)),
    (first("NationSearch"), "Nation search and show (last nation)",
     None, "cat_ms", "x_cat", "< 5 ms", under(5)),
    (first("CityList"), "City list (mode switch)",
     None, "cat_ms", "x_cat", "< 16 ms", under(16)),
    (first("CitySearch"), "City search and show (last city)",
     None, "cat_ms", "x_cat", "< 5 ms", under(5)),
    (first("PlayerSave"), "Player save, every reference looked up by name",
     None, "cat_ms", "x_cat", "< 5 ms", under(5)),
    (first("PlayerSave"), "the same, CPU time (the journal's syncs left out)",
     "cpu_ms", None, None, "< 5 ms", under(5)),
    (first("Backup"), "Backup of the file set (ratio to `cat` of the set)",
     None, "cat_ms", "x_cat", "", None),
    (first("TableView"), "Table view: opening the players table",
     None, "cat_ms", "x_cat", "< 150 ms", under(150)),
    ("BM_RefsBigClubProcess/manual_time", "`vhtool refs` of the club with the largest squad",
     None, None, None, "< 50 ms", under(50)),
    ("BM_RefsNationProcess/manual_time", "`vhtool refs` of the nation of the most persons",
     None, None, None, "< 50 ms", under(50)),
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


def rows(results, layout):
    lines = ["| Action | Median | CPU | Plain read of its files | Ratio | Budget | Met |",
             "|---|---:|---:|---:|---:|---|---|"]
    for run, what, counter, ref, ratio, budget, check in layout:
        b = results.get(run)
        if b is None:
            lines.append(f"| {what} | not run | | | | {budget} | |")
            continue
        unit = " MB" if counter == "peak_MB" else " ms"
        figure = b[counter] if counter else b["real_time"]
        cpu = b.get("cpu_ms") if unit == " ms" and counter != "cpu_ms" else None
        refv = b.get(ref) if ref else None
        ratiov = b.get(ratio) if ratio else None
        met = ("yes" if check(figure, ratiov, cpu) else "**no**") if check else ""
        lines.append(f"| {what} | {fmt(figure, unit)} | {fmt(cpu, ' ms')} | "
                     f"{fmt(refv, ' ms') if ref else '—'} | "
                     f"{fmt(ratiov) + ' x' if ratiov is not None else '—'} | {budget} | {met} |")
    return lines


def table(results, machine):
    lines = ["Warm: each action repeated in one process that has done it before; the call itself "
             "is timed, mostly without the layouts and paints it causes.", ""]
    lines += rows(results, ROWS)
    lines += ["", "First in a fresh process: each action done once, as a user meets it after "
              "start-up, its events (layouts, paints) handled until the window is idle.", ""]
    lines += rows(results, FIRST_ROWS)
    lines.append("")
    lines.append(f"Medians of the repetitions of one run of `scripts/run-benchmarks` on {machine}; "
                 "the first actions and start-up are medians of 5 fresh processes. Median: the "
                 "wall time; CPU: the process's CPU time over the same span, which the machine's "
                 "load changes less, and which leaves out waiting for the disk. Ratio: the "
                 "action's time over a plain read (like `cat`) of the files it works on (for the "
                 "filter, staff.dat, which its labels come from); for the warm backup and "
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
