#!/usr/bin/env python3
"""Writes the script files under tests/data/scripts in the byte forms that other
systems produce: UTF-16LE with byte-order mark and CR LF, keys with the
"_unicode" suffix and quoted values, plain keys of older versions in a
single-byte code page, ".tw-" files with the classic options, and malformed
files. The tests in tests/scriptio load each one and check the result.

Usage: scripts/make-script-fixtures.py   (rewrites the folder's files)
"""
import os
import random

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "tests", "data", "scripts")

# Parameter keys of each step kind in written order (sorted ignoring case).
KINDS = {
    0: ["cbOnCollision", "cbxAddAtThe", "cbxAddPart", "txtAdd"],
    1: ["cbxAddPart", "cbxFromTheBeginningEnding", "txtAdd", "txtAddPosition"],
    2: ["cbxAddPart", "cbxAddPlace", "txtAdd", "txtAfter"],
    3: ["cbReplaceOnly", "cbxReplacePart", "cbxReplaceTarget", "txtReplacePhrase",
        "txtReplaceWith", "txtRP2X", "txtRP2Y"],
    4: ["cbxReplaceCharPart", "txtReplaceChar1", "txtReplaceChar2"],
    5: ["cbxNumbers", "cbxRNSequence", "txtRNWith"],
    6: ["cbxRemovePhrase", "cbxRemovePhrasePart", "txtRemovePhrase"],
    7: ["cbAndStore", "cbRCReplace", "cbxRemoveCharactersPart", "cbxRemoveCharPosition",
        "txtR2X", "txtRCReplace"],
    8: ["cbAndMove", "cbAndStoreRM", "cbxRemoveType", "txtR3X", "txtR3Y", "txtR3Z"],
    9: ["cbAndStoreRM2", "cbRBReplace", "cbxBeforeAfter", "txtRBReplace", "txtRemove2Phrase"],
    10: ["cbxBeginningEnding", "txtAZeros"],
    11: ["cbreAndEndsWith", "cbreAndStore", "cbreAtThe", "cbreHasInTheMiddle",
         "cbreRemoveNumber", "cbreThatSTartsWIth", "cbxreBegginingEnding",
         "cbxrePhraseCharacters", "cbxrePhraseCharacters2", "cbxrePhraseCharacters3",
         "cbxRERemoveReplace", "txtRE1", "txtrePhraseCharacters", "txtrePhraseCharacters2",
         "txtrePhraseCharacters3", "txtREWith"],
    12: ["cbxCECondition", "cbxCESkipRemove", "txtCE1", "txtCEText"],
    13: [],
    14: ["txtFilemask", "txtMove"],
    15: ["cbxSMBeforeAfter", "cbxSMBeforeAfter2", "cbxSMBeginningEnding",
          "cbxSMBeginningEnding2", "rbSMBeforeAfter", "rbSMBeforeAfter2", "rbSMBeginningEnding",
          "rbSMBeginningEnding2", "rbSMPosition", "rbSMPosition2", "txtSMPhrase", "txtSMPhrase2",
          "txtSMX1", "txtSMX2", "txtSMY1", "txtSMZ1"],
    16: ["cbSTrim", "txtSPhrase"],
    17: ["cbFEFromThe", "cbFEInsert", "cbxFEBeforeAFter", "cbxFEBeginningEnding",
          "txtFEPhrase1", "txtFEPhrase2", "txtFEPhrase3", "txtFEPhrase4", "txtFEX1", "txtFEY1"],
}


def quote(value):
    """The writer's quoting rule."""
    if value and (value[0] <= " " or value[-1] <= " " or value.startswith('" ')
                  or value.endswith(' "')):
        return '"' + value + '"'
    return value


def unicode_section(name, pairs):
    lines = ["[%s]" % name]
    lines += ["%s_unicode=%s" % (key, quote(str(value))) for key, value in pairs]
    return lines + [""]


def step_section(index, kind, enabled, values):
    pairs = [("TYPE", kind), ("ENABLED", 1 if enabled else 0)]
    pairs += [(key, values[key]) for key in KINDS[kind] if key in values]
    return unicode_section("SCRIPT%d" % index, pairs)


def options(path="", filt="*.*", use_filter=0, use_path=0, version="2.5.1", counting=None,
            case=None, wildcards=None, text=None):
    counting = counting or [("rbUsePositionInList", 1), ("rbStartCountingAt", 0),
                            ("txtStartCountingAt", "1"), ("txtIncrementBy", "1")]
    case = case or [("cbOverrideCase", 0), ("rbCUppercase", 1), ("rbCLowercase", 0),
                    ("rbCCapitalizeWords", 0), ("rbCCapitalizeSentence", 0),
                    ("cbCPreserverExtension", 0), ("rbCTitleCase", 0), ("cbCRoman", 0),
                    ("cbSplit", 0), ("txtSplit", "")]
    wildcards = wildcards or [("rbWildcards", 1), ("rbRegExp", 0)]
    text = text or [("txtTName", ""), ("udTSkip", 0), ("cbTDelim", 1), ("rbTMatch", 1),
                    ("rbTFind", 0), ("txtTFind", "?cfn?"), ("txtTDelim", ",")]
    lines = unicode_section("Path", [("cbPath", path)])
    lines += unicode_section("Filter", [("txtFilter", filt)])
    lines += unicode_section("ScriptOptions", [("UseFilter", use_filter), ("UsePath", use_path)])
    if version:
        lines += unicode_section("Version", [("Current", version)])
    lines += unicode_section("Counting", counting)
    lines += unicode_section("Case", case)
    lines += unicode_section("Wildcards", wildcards)
    lines += unicode_section("Text", text)
    return lines


def utf16(lines):
    """UTF-16LE with byte-order mark, each line ended by CR LF."""
    return b"\xff\xfe" + ("\r\n".join(lines) + "\r\n").encode("utf-16-le")


def write(name, data):
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


# Every kind with values other than a new step's, text with blanks, quotes,
# non-Latin letters and a character outside the basic plane.
ALL_KINDS = [
    (0, True, {"cbOnCollision": 1, "cbxAddAtThe": 1, "cbxAddPart": 0, "txtAdd": " (?n02?)"}),
    (1, True, {"cbxAddPart": 1, "cbxFromTheBeginningEnding": 1, "txtAdd": "x", "txtAddPosition": "3"}),
    (2, False, {"cbxAddPart": 0, "cbxAddPlace": 1, "txtAdd": "- ", "txtAfter": "Disc*"}),
    (3, True, {"cbReplaceOnly": 1, "cbxReplacePart": 2, "cbxReplaceTarget": 1,
               "txtReplacePhrase": "_", "txtReplaceWith": " ", "txtRP2X": "2", "txtRP2Y": "40"}),
    (4, True, {"cbxReplaceCharPart": 1, "txtReplaceChar1": "\u00e4\u00f6\u00fc",
               "txtReplaceChar2": "aou"}),
    (5, True, {"cbxNumbers": 1, "cbxRNSequence": 0, "txtRNWith": "?n03?"}),
    (6, True, {"cbxRemovePhrase": 1, "cbxRemovePhrasePart": 0, "txtRemovePhrase": "the a an"}),
    (7, True, {"cbAndStore": 1, "cbRCReplace": 1, "cbxRemoveCharactersPart": 0,
               "cbxRemoveCharPosition": 1, "txtR2X": "4", "txtRCReplace": '" quoted'}),
    (8, True, {"cbAndMove": 1, "cbAndStoreRM": 0, "cbxRemoveType": 0, "txtR3X": "2",
               "txtR3Y": "12", "txtR3Z": "5"}),
    (9, True, {"cbAndStoreRM2": 1, "cbRBReplace": 0, "cbxBeforeAfter": 1, "txtRBReplace": "",
               "txtRemove2Phrase": 'ends "'}),
    (10, True, {"cbxBeginningEnding": 1, "txtAZeros": "4"}),
    (11, True, {"cbreAndEndsWith": 1, "cbreAndStore": 0, "cbreAtThe": 1, "cbreHasInTheMiddle": 0,
                "cbreRemoveNumber": 1, "cbreThatSTartsWIth": 1, "cbxreBegginingEnding": 1,
                "cbxrePhraseCharacters": 2, "cbxrePhraseCharacters2": 0,
                "cbxrePhraseCharacters3": 1, "cbxRERemoveReplace": 1, "txtRE1": "2",
                "txtrePhraseCharacters": "ab", "txtrePhraseCharacters2": "c d",
                "txtrePhraseCharacters3": "\u65e5\u672c", "txtREWith": "?temp?"}),
    (12, True, {"cbxCECondition": 2, "cbxCESkipRemove": 1, "txtCE1": "2", "txtCEText": "x"}),
    (13, False, {}),
    (14, True, {"txtFilemask": "?? - *", "txtMove": "\U0001F3B5 music"}),
    (15, True, {"cbxSMBeforeAfter": 1, "cbxSMBeforeAfter2": 0, "cbxSMBeginningEnding": 1,
                "cbxSMBeginningEnding2": 0, "rbSMBeforeAfter": 0, "rbSMBeforeAfter2": 1,
                "rbSMBeginningEnding": 1, "rbSMBeginningEnding2": 0, "rbSMPosition": 0,
                "rbSMPosition2": 0, "txtSMPhrase": "-", "txtSMPhrase2": "+", "txtSMX1": "3",
                "txtSMX2": "4", "txtSMY1": "9", "txtSMZ1": "2"}),
    (16, True, {"cbSTrim": 0, "txtSPhrase": " - "}),
    (17, True, {"cbFEFromThe": 1, "cbFEInsert": 1, "cbxFEBeforeAFter": 1,
                "cbxFEBeginningEnding": 1, "txtFEPhrase1": "a", "txtFEPhrase2": "b",
                "txtFEPhrase3": "c", "txtFEPhrase4": "d", "txtFEX1": "2", "txtFEY1": "3"}),
]


def all_kinds():
    lines = []
    for index, (kind, enabled, values) in enumerate(ALL_KINDS):
        lines += step_section(index, kind, enabled, values)
    lines += options(filt="*.mp3", use_filter=1, use_path=0, version="2.5.1")
    return utf16(lines)


def options_file():
    """Every option away from its default; the folder is one of another machine."""
    lines = step_section(0, 0, True, {"cbOnCollision": 0, "cbxAddAtThe": 0, "cbxAddPart": 0,
                                      "txtAdd": "x_"})
    lines += options(
        path="C:\\Photos\\2013\\", filt="*.jpg", use_filter=1, use_path=1, version="2.4.0",
        counting=[("rbUsePositionInList", 0), ("rbStartCountingAt", 1),
                  ("txtStartCountingAt", "5"), ("txtIncrementBy", "10")],
        case=[("cbOverrideCase", 1), ("rbCUppercase", 1), ("rbCLowercase", 0),
              ("rbCCapitalizeWords", 0), ("rbCCapitalizeSentence", 0),
              ("cbCPreserverExtension", 1), ("rbCTitleCase", 1), ("cbCRoman", 1),
              ("cbSplit", 1), ("txtSplit", ".,")],
        wildcards=[("rbWildcards", 0), ("rbRegExp", 1)],
        text=[("txtTName", "C:\\names.csv"), ("udTSkip", 2), ("cbTDelim", 0), ("rbTMatch", 0),
              ("rbTFind", 0), ("txtTFind", "?cfo?"), ("txtTDelim", "TAB")])
    return utf16(lines)


def plain_keys():
    """An older version: plain keys, values in quotes, single-byte code page, no UseFilter
    key but a plain UsePath; UseFilter/UsePath 0 keep folder and filter."""
    lines = [
        "[SCRIPT0]", "TYPE=3", "ENABLED=1", "cbReplaceOnly=0", "cbxReplacePart=2",
        "cbxReplaceTarget=0", 'txtReplacePhrase="caf\u00e9 "', "txtReplaceWith='cafe'",
        "txtRP2X=abc", "txtRP2Y=", "",
        "[SCRIPT1]", "TYPE=10", "ENABLED=0", "cbxBeginningEnding=1", "txtAZeros=3", "",
        "[Path]", "cbPath=/nowhere/", "",
        "[Filter]", "txtFilter=*.txt", "",
        "[ScriptOptions]", "UseFilter=0", "UsePath=0", "",
    ]
    return "\r\n".join(lines).encode("cp1252")


def default_script(count):
    lines = []
    for index in range(count):
        lines += step_section(index, 0, True, {"txtAdd": str(index)})
    return utf16(lines + options())


def no_steps():
    return utf16(options(filt="*.doc", use_filter=1))


def classic(name_remove_all=True):
    """An older ".tw-" script: the option sections without UseFilter (the
    older rule restores the filter) and the classic sections."""
    sections = [
        ("Path", [("cbPath", "")]),
        ("Filter", [("txtFilter", "*.jpg")]),
        ("AddTo", [("cbAEndOfName", 1), ("cbAEndOfExtension", 0), ("cbANInsert", 1),
                   ("cbAEInsert", 1), ("txtAEndOfName", " end"), ("txtAEndOfExtension", ""),
                   ("txtANInsert", "N"), ("txtAEInsert", "E"), ("udANPosition", 3),
                   ("udAEPosition", 999)]),
        ("AddTo2", [("cbA2Find", 1), ("txtA2Find", "-"), ("txtA2Insert", "+"),
                    ("cbA2Insert", 1), ("cbCollision", 1), ("txtCollision", " (?n02?)")]),
        ("Replace", [("cbRPNameWith", 0), ("cbRPExtensionWith", 1), ("cbRPThis", 1),
                     ("txtRPNameWith", ""), ("txtRPExtensionWith", "jpeg"),
                     ("txtRPThis", "_"), ("txtRPWith", " ")]),
        ("Replace2", [("cbRP2Characters", 1), ("upRP2X", 2), ("upRP2Y", 5),
                      ("txtRP2This", "a"), ("txtRP2With", "b"), ("cbRP2CharacterList", 1),
                      ("txtRP2sc", "\u00e9"), ("txtRP2scWith", "e"), ("cbRPNumbers", 1),
                      ("cbxRPNumbers", 1), ("cbEverything", 0), ("txtR2EverythingX", 7),
                      ("txtR2EverythingY", 8)]),
        ("Remove", [("cbRMFromNameStart", 1), ("cbRMFromNameEnd", 1),
                    ("cbRMFromExtensionStart", 1), ("cbRMFromExtensionEnd", 1),
                    ("udNS", 1), ("udNE", 2), ("udES", 3), ("udEE", 4),
                    ("cbRMFromName", 1), ("cbRMFromExtension", 0), ("cbRMWordList", 1),
                    ("txtRMFromName", "the a"), ("txtRMFromExtension", "")]),
        ("Remove2", [("cbRM2NumFromName", 1), ("cbRM2NumFromExt", 0), ("cbEverything", 1),
                     ("udRM2X", 2), ("udRM2Y", 6), ("cbRM2Characters", 1), ("udR2CharX", 3),
                     ("udR2CharY", 4), ("cbRM2AndMove", 1), ("udR2AndMove", 9)]),
        ("Counting", [("rbUsePositionInList", 1), ("rbStartCountingAt", 0),
                      ("txtStartCountingAt", "1"), ("txtIncrementBy", "1")]),
        ("Text", [("rbTMatch", 0), ("rbTFind", 0)]),
    ]
    lines = []
    for name, pairs in sections:
        lines += unicode_section(name, pairs)
    return utf16(lines)


def classic_plain():
    """An old ".tw-" file with plain keys only: end of name and collision."""
    lines = ["[Filter]", "txtFilter=\"*.mp3\"", "[AddTo]", "cbAEndOfName=1",
             "txtAEndOfName=\" - x\"", "[AddTo2]", "cbCollision=1", "txtCollision=(?n02?)",
             "cbA2Find=1", "cbA2Insert=2", "[ScriptOptions]", "UseFilter=0", "UsePath=0"]
    return "\r\n".join(lines).encode("cp1252")


def malformed():
    """Files that must load without harm: name -> bytes."""
    good = all_kinds()
    rng = random.Random(20261208)
    files = {
        "truncated.twscr": good[: len(good) // 2 + 1],  # odd byte count, cut mid-section
        "missing-bracket.twscr": utf16(["[SCRIPT0", "TYPE_unicode=0", "[SCRIPT1]",
                                        "TYPE_unicode=16", "txtSPhrase_unicode=-", ""]),
        "no-equals.twscr": utf16(["[SCRIPT0]", "TYPE_unicode", "TYPE_unicode=5",
                                  "garbage line", "=", "txtRNWith_unicode", ""]),
        "duplicate-sections.twscr": utf16(
            step_section(0, 10, True, {"txtAZeros": "3"}) +
            step_section(0, 16, True, {"txtSPhrase": "-"}) +
            step_section(1, 5, True, {"txtRNWith": "?n01?"})),
        "gap.twscr": utf16(step_section(0, 0, True, {"txtAdd": "a"}) +
                           step_section(2, 0, True, {"txtAdd": "c"})),
        "unknown-type.twscr": utf16(step_section(0, 0, True, {"txtAdd": "a"}) +
                                    unicode_section("SCRIPT1", [("TYPE", 99), ("ENABLED", 1)]) +
                                    unicode_section("SCRIPT2", [("TYPE", -5)]) +
                                    step_section(3, 16, True, {"txtSPhrase": "+"})),
        "bad-values.twscr": utf16(unicode_section("SCRIPT0", [
            ("TYPE", 8), ("ENABLED", "yes"), ("cbxRemoveType", 99), ("cbAndMove", "x"),
            ("txtR3X", "-3"), ("txtR3Y", "0x10"), ("txtR3Z", "99999999999")]) +
            unicode_section("SCRIPT1", [("TYPE", "0x0C"), ("cbxCECondition", -1),
                                        ("cbxCESkipRemove", 7), ("txtCE1", "")])),
        "random.twscr": bytes(rng.randrange(256) for _ in range(4096)),
        "random-utf16.twscr": b"\xff\xfe" + bytes(rng.randrange(256) for _ in range(4095)),
    }
    # Lone surrogates cannot pass through Python's encoder: write the units by hand.
    units = "[SCRIPT0]\r\nTYPE_unicode=0\r\ntxtAdd_unicode=a"
    data = b"\xff\xfe" + units.encode("utf-16-le") + b"\x00\xd8" + "b".encode("utf-16-le") + \
        b"\x00\xdc" + "c\r\n\r\n".encode("utf-16-le")
    files["lone-surrogates.twscr"] = data
    return files


def main():
    os.makedirs(os.path.join(OUT, "malformed"), exist_ok=True)
    write("all-kinds.twscr", all_kinds())
    write("options.twscr", options_file())
    write("plain-keys.twscr", plain_keys())
    write("default.twscr", default_script(12))
    write("twelve-steps.twscr", default_script(12))
    write("no-steps.twscr", no_steps())
    write("classic.tw-", classic())
    write("classic-plain.tw-", classic_plain())
    for name, data in malformed().items():
        write(os.path.join("malformed", name), data)


if __name__ == "__main__":
    main()
