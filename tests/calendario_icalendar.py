"""A real iCalendar reader (Debian's python3-icalendar) reads the calendars the program
writes: the example league's and a list with accents, commas and semicolons. Each event
must be at its local time in Rome and at the right instant in UTC on both sides of the
change of time (the last Sunday of October 2026, the 25th), as the file's own VTIMEZONE
makes it.

Usage: calendario_icalendar.py PROGRAM_WITH_FAKED_CLOCK EXAMPLE_LIST
"""

import datetime
import os
import subprocess
import sys
import tempfile

import icalendar

PROGRAMMA, ESEMPIO = sys.argv[1], sys.argv[2]
UTC = datetime.timezone.utc


def calendario(lista, squadra):
    with tempfile.TemporaryDirectory() as cartella:
        with open(os.path.join(cartella, "originale.txt"), "wb") as f:
            f.write(lista)
        subprocess.run([PROGRAMMA], input=b"c\n" + squadra.encode() + b"\nn\n", cwd=cartella,
                       env={"LC_ALL": "C", "TURNOLISTA_ADESSO": "2026-09-01T08:00:00Z"},
                       check=True, stdout=subprocess.DEVNULL)
        with open(os.path.join(cartella, "calendario.ics"), "rb") as f:
            return icalendar.Calendar.from_ical(f.read())


def eventi(cal):
    """Each event's summary, location, description, local start and start in UTC."""
    fuso = cal.walk("VTIMEZONE")[0].to_tz()
    for evento in cal.walk("VEVENT"):
        inizio = evento.decoded("DTSTART")
        locale = inizio.replace(tzinfo=None)
        assert evento["DTSTART"].params["TZID"] == "Europe/Rome"
        yield (str(evento["SUMMARY"]), str(evento.get("LOCATION", "")),
               str(evento["DESCRIPTION"]), locale,
               fuso.localize(locale).astimezone(UTC).replace(tzinfo=None))


def controlla(trovati, attesi):
    if trovati != attesi:
        print("expected:", *attesi, "found:", *trovati, sep="\n  ")
        sys.exit(1)


# The example league: Rome is UTC+2 up to the 25th of October, UTC+1 from then on.
with open(ESEMPIO, "rb") as f:
    esempio = f.read()
attesi = []
for riga in esempio.decode().splitlines():
    if "Lupi" in riga and not riga.startswith("Gio"):
        _, data, ora, luogo, partita = riga.split(" ", 4)
        locale = datetime.datetime.strptime("2026 " + data + " " + ora, "%Y %d/%m %H:%M")
        estate = locale < datetime.datetime(2026, 10, 25, 3)
        attesi.append((partita, luogo, riga, locale,
                       locale - datetime.timedelta(hours=2 if estate else 1)))
controlla(list(eventi(calendario(esempio, "Lupi"))), attesi)

# Tabs, accents, commas and semicolons (the away team "Città; Forlì"), the two sides of the
# change written out by hand.
lista = ("1\t13/09\t10:30\tSant'Agata, campo 2\tLupi-Citt\u00e0; Forl\u00ec\n"
         "2\t25/10\t15:30\tCant\u00f9\tLupi-Orsi, recupero\n").encode()
controlla(list(eventi(calendario(lista, "Lupi"))), [
    ("Lupi-Citt\u00e0; Forl\u00ec", "Sant'Agata, campo 2",
     "1\t13/09\t10:30\tSant'Agata, campo 2\tLupi-Citt\u00e0; Forl\u00ec",
     datetime.datetime(2026, 9, 13, 10, 30), datetime.datetime(2026, 9, 13, 8, 30)),
    ("Lupi-Orsi, recupero", "Cant\u00f9", "2\t25/10\t15:30\tCant\u00f9\tLupi-Orsi, recupero",
     datetime.datetime(2026, 10, 25, 15, 30), datetime.datetime(2026, 10, 25, 14, 30)),
])
