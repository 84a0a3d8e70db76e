#!/usr/bin/env python3
"""Reads an .ics file with python3-icalendar, a reader independent of libical, and prints one
JSON line per VEVENT and VJOURNAL: its name and the properties Pimora writes."""
import json
import sys

import icalendar

with open(sys.argv[1], "rb") as f:
    calendar = icalendar.Calendar.from_ical(f.read())
for c in calendar.walk():
    if c.name not in ("VEVENT", "VJOURNAL"):
        continue
    row = {"name": c.name, "uid": str(c.get("UID"))}
    for key in ("DTSTART", "DTEND"):
        if key in c:
            row[key.lower()] = c.get(key).dt.isoformat()
    for key in ("SUMMARY", "DESCRIPTION"):
        if key in c:
            row[key.lower()] = str(c.get(key))
    if "CATEGORIES" in c:
        row["categories"] = [str(x) for x in c.get("CATEGORIES").cats]
    print(json.dumps(row, ensure_ascii=False, sort_keys=True))
