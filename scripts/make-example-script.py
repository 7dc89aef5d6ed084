#!/usr/bin/env python3
"""Writes examples/demo.twscr, the script of the README's demo, in the stored
form of script files: UTF-16LE with byte-order mark, CR LF, "_unicode" keys."""
import os

STEPS = [
    # Photos named by the camera get the date they were taken.
    (12, {"cbxCECondition": "1", "cbxCESkipRemove": "0", "txtCE1": "1", "txtCEText": "IMG_*.jpg"}),
    (3, {"cbReplaceOnly": "0", "cbxReplacePart": "0", "cbxReplaceTarget": "0",
         "txtReplacePhrase": "", "txtReplaceWith": "?x_dto:Fyyyy-mm-dd hh.nn.ss?",
         "txtRP2X": "1", "txtRP2Y": "10"}),
    # Songs get track, artist and title from their tags.
    (12, {"cbxCECondition": "1", "cbxCESkipRemove": "0", "txtCE1": "1", "txtCEText": "*.mp3"}),
    (3, {"cbReplaceOnly": "0", "cbxReplacePart": "0", "cbxReplaceTarget": "0",
         "txtReplacePhrase": "", "txtReplaceWith": "?I_TR? - ?I_AR? - ?I_TI?",
         "txtRP2X": "1", "txtRP2Y": "10"}),
    # Underscores become blanks everywhere.
    (3, {"cbReplaceOnly": "0", "cbxReplacePart": "2", "cbxReplaceTarget": "1",
         "txtReplacePhrase": "_", "txtReplaceWith": " ", "txtRP2X": "1", "txtRP2Y": "10"}),
]

OPTIONS = [
    ("Path", {"cbPath": ""}),
    ("Filter", {"txtFilter": "*.*"}),
    ("ScriptOptions", {"UseFilter": "0", "UsePath": "0"}),
    ("Counting", {"rbUsePositionInList": "0", "rbStartCountingAt": "1",
                  "txtStartCountingAt": "1", "txtIncrementBy": "1"}),
    ("Case", {"cbOverrideCase": "1", "rbCUppercase": "0", "rbCLowercase": "0",
              "rbCCapitalizeWords": "1", "rbCCapitalizeSentence": "0",
              "cbCPreserverExtension": "1", "rbCTitleCase": "0", "cbCRoman": "0",
              "cbSplit": "0", "txtSplit": ""}),
    ("Wildcards", {"rbWildcards": "1", "rbRegExp": "0"}),
]


def quoted(value):
    """Values with outer blanks are stored in double quotes."""
    return '"%s"' % value if value != value.strip() else value


def section(name, keys):
    lines = ["[%s]" % name] + ["%s_unicode=%s" % (k, quoted(v)) for k, v in keys.items()]
    return "\r\n".join(lines) + "\r\n\r\n"


def main():
    text = ""
    for i, (kind, params) in enumerate(STEPS):
        keys = {"TYPE": str(kind), "ENABLED": "1"}
        keys.update(sorted(params.items(), key=lambda kv: kv[0].lower()))
        text += section("SCRIPT%d" % i, keys)
    for name, keys in OPTIONS:
        text += section(name, keys)
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    with open(os.path.join(root, "examples", "demo.twscr"), "wb") as f:
        f.write(b"\xff\xfe" + text.encode("utf-16-le"))


if __name__ == "__main__":
    main()
