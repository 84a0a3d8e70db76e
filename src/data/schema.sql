-- The empty Pimora database, at schema version 0.9.7.
-- Text columns compare without regard to letter case, as the program's queries expect.
PRAGMA application_id = 1346981199;

CREATE TABLE pmPref (
    pwd TEXT COLLATE NOCASE,
    ShortDateFormat TEXT(25) COLLATE NOCASE DEFAULT 'yyyy-mm-dd',
    MinimizeToSystray TEXT(1) COLLATE NOCASE DEFAULT 'N',
    EnableToolTips TEXT(1) COLLATE NOCASE DEFAULT 'Y'
);

CREATE TABLE pmVersion (
    DBVer CHAR COLLATE NOCASE CONSTRAINT MyConstraint PRIMARY KEY,
    VerDate CHAR
);
INSERT INTO pmVersion (DBVer, VerDate) VALUES ('0.9.7', '07 Dec 2026');

-- One journal entry per day.
CREATE TABLE pmCalendar (
    caldate DATE NOT NULL UNIQUE,
    caljournal TEXT COLLATE NOCASE
);

-- Event types: unique names.
CREATE TABLE pmCalEvent (
    calevent TEXT COLLATE NOCASE NOT NULL UNIQUE,
    caleventdesc TEXT COLLATE NOCASE
);

-- At most one event of a type per day.
CREATE TABLE pmcaleventdate (
    caldate DATE NOT NULL,
    calevent TEXT COLLATE NOCASE NOT NULL,
    eventdetails TEXT COLLATE NOCASE,
    timestart TIME,
    timeend TIME,
    UNIQUE (caldate, calevent)
);

-- Thought nodes: unique names, looked up by parent.
CREATE TABLE pmThoughts (
    thoname TEXT COLLATE NOCASE NOT NULL UNIQUE,
    thocaption TEXT COLLATE NOCASE,
    thoparent TEXT COLLATE NOCASE,
    thodata TEXT COLLATE NOCASE
);
CREATE INDEX pmThoughtsParent ON pmThoughts (thoparent);
