#!/usr/bin/env python3
"""Writes the settings and configuration files under tests/data/config in the
byte forms that other systems produce: "tw.ini" of an older version (UTF-16LE
with byte-order mark, CR LF, plain keys without the "_unicode" suffix, Yes/No
forms, quoted values, column sections), one written by the current store, and
the small plain files in the single-byte code page Windows-1252. The tests in
tests/config load each one and check the result.

Usage: scripts/make-config-fixtures.py   (rewrites the folder's files)
"""
import os

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "tests", "data", "config")


def utf16_ini(lines):
    """UTF-16LE with byte-order mark and CR LF line ends."""
    return b"\xff\xfe" + "\r\n".join(lines + [""]).encode("utf-16-le")


# An older "tw.ini": every key plain, the way the plain INI access wrote it.
OLD_TW_INI = [
    "[Startup]",
    "thumbnaillist1=1",
    "ToggleToolbar1=1",
    "DontUseLastFolder=No",
    "RememberPosition=Yes",
    "RememberSize=No",
    "WindowX=120",
    "WindowY=80",
    "WindowWD=1024",
    "WindowHT=700",
    "WindowSplitterXa=310",
    "LastSplitterYa=220",
    "MIFilelistonLeftSize1=1",
    "MIToggleWideLayout1=0",
    "OpenMaximized=0",
    "lastfolder=/home/anna/Fotos/Sommer \u00e9t\u00e9",
    "RememberColumnSizes=1",
    "BroswePaneWidth=180",
    "BroswePaneVisible=1",
    "ColumnResizeType=3",
    "RememberBrowserPane=1",
    "",
    "[Registry]",
    "OnContextMenu=Yes",
    "",
    "[System]",
    "FullDateTime=Yes",
    "Backslash=_",
    "Slash=\"~\"",          # one pair of quotes dropped
    "Colon=\" \"",          # a blank, kept by its quotes
    "Asterisk=x",
    "Question=",            # an emptied box
    "Pipe=!",
    "Greater=(",
    "Lest=)",
    "Quote='",
    "Period=,",
    "",
    "[RenamingScript]",
    "cbAutoFormatPopup=0",
    "cbShowUpDown=1",
    "cbAlwaysShowStepButtons=1",
    "cbAlwaysShowStepDescriptions=1",
    "cbIgnoreEmpty=0",
    "cbDetectEnvVars=0",
    "cbAutoCollapse=0",
    "",
    "[Renaming]",
    "Files=No",
    "Folders=Yes",
    "FilesFolders=No",
    "FilterFolders=yes",    # not "Yes": off
    "cbAutoPreview=0",
    "cbNoHiddenFiles=1",
    "",
    "[FileOptions]",
    "DisableIcons=Yes",
    "DontSelectFolders=No",
    "cbNoIcache=1",
    "cbNoClearFilter=1",
    "",
    "[Font]",
    "Name=Tahoma",
    "Size=8",
    "Bold=1",
    "Italic=0",
    "",
    "[ScriptFont]",
    "Name=Verdana",
    "Size=10",
    "Bold=0",
    "Italic=1",
    "txtScriptFontName=Verdana",
    "",
    "[ThumbnailWindow]",
    "width=500",
    "height=420",
    "",
    "[MetavariableWindow]",
    "topoffset=5",
    "leftoffset=6",
    "DetailsVisible=1",
    "",
    "[View]",
    "MiniRenamingButtons1=0",
    "",
    "[Colors]",
    "lblPathFore=-16777208",
    "lblPathBack=16777215",
    "lblCollisionsFore=255",
    "lblToBeRenamed=32768",
    "lblAddStep=-1",
    "cbUseEffects=0",
    "",
    "[Column_Name]",
    "Width=250",
    "Index=1",
    "",
    "[Column_New_Name]",
    "Width=240",
    "Index=0",
    "",
    "[Column_Date_Modified]",
    "Width=0",
    "Index=5",
    "",
]

# A "tw.ini" as the current store writes it: "_unicode" keys, quoted values,
# "1"/"0" switches, and one plain key left from an older version.
CURRENT_TW_INI = [
    "[Startup]",
    "lastfolder=/old/plain",
    "lastfolder_unicode=\" /srv/media \"",
    "WindowX_unicode=0x20",
    "WindowWD_unicode=wide",
    "ColumnResizeType_unicode=1",
    "",
    "[System]",
    "Backslash_unicode=\" \"",
    "Slash_unicode=\"\" x\"",
    "Asterisk_unicode=\"+\"",   # quoted by hand without blanks: quotes kept
    "",
    "[Renaming]",
    "Files_unicode=Yes",
    "Folders_unicode=Yes",
    "FilesFolders_unicode=No",
    "",
    "[Colors]",
    "lblFileListBack_unicode=-16777211",
    "",
]

CUSTOM_COLUMNS_1252 = (
    "[Start]\r\n"
    "TotalCustomColumns=3\r\n"
    "\r\n"
    "[CustomColumn0]\r\n"
    "Title=Caf\u00e9 Track\r\n"
    "Data=?i_tr?\r\n"
    "Type=2\r\n"
    "\r\n"
    "[CustomColumn1]\r\n"
    "Title=Taken\r\n"
    "Data=?x_dt:Fyyyy-MM-dd?\r\n"
    "Type=4\r\n"
    "\r\n"
    "[CustomColumn2]\r\n"
    "Title=Artist\r\n"
    "Data=?i_ar?\r\n"
    "\r\n"
    "[CustomColumn3]\r\n"
    "Title=Beyond the count\r\n"
    "Data=?n?\r\n"
    "Type=0\r\n"
).encode("cp1252")

FILEDROP_1252 = (
    "/home/anna/M\u00fcsik/01 intro.mp3\r\n"
    "/home/anna/M\u00fcsik/02 song.mp3\r\n"
    "\r\n"
).encode("cp1252")


def write(name, data):
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


def main():
    os.makedirs(OUT, exist_ok=True)
    write("tw-old-plain.ini", utf16_ini(OLD_TW_INI))
    write("tw-current.ini", utf16_ini(CURRENT_TW_INI))
    write("customcolumns-cp1252.ini", CUSTOM_COLUMNS_1252)
    write("columns-short.dat", bytes([1, 0]))
    write("filedrop-cp1252.dat", FILEDROP_1252)


if __name__ == "__main__":
    main()
