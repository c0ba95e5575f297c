#!/usr/bin/env python3
"""Writes hostile and broken input files for `orv report` into a folder.

    scripts/make_hostile_inputs.py OUT_DIR

Each file is made small and cheap here and asks a lot of the reader: zip
bombs, thinly spread cells, deep nesting, endless lines, texts that XML
cannot hold. OUT_DIR/cases.tsv lists, per file, the exit status `orv report`
must end with and a text its messages must hold (for exit 0, a text of
standard output); tests/app/hostile_inputs.sh runs them under a memory and
a time limit.
"""
import base64
import os
import sys
import zipfile

SHEET_HEAD = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
              '<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">')


def column_letters(c):
    s = ""
    while c:
        c, r = divmod(c - 1, 26)
        s = chr(65 + r) + s
    return s


def write_xlsx(path, sheet_chunks, shared_chunks=None):
    """A one-sheet package; the sheet (and shared strings) come as an
    iterable of byte chunks, streamed through the compressor."""
    ns = "http://schemas.openxmlformats.org/"
    rels = ns + "officeDocument/2006/relationships"
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED, compresslevel=6) as z:
        z.writestr("[Content_Types].xml",
                   '<?xml version="1.0"?><Types xmlns="%spackage/2006/content-types">'
                   '<Default Extension="xml" ContentType="application/xml"/>'
                   '<Default Extension="rels" '
                   'ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
                   '<Override PartName="/xl/workbook.xml" ContentType="application/'
                   'vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>'
                   '</Types>' % ns)
        z.writestr("_rels/.rels",
                   '<?xml version="1.0"?><Relationships xmlns="%spackage/2006/relationships">'
                   '<Relationship Id="rId1" Type="%s/officeDocument" Target="xl/workbook.xml"/>'
                   '</Relationships>' % (ns, rels))
        z.writestr("xl/workbook.xml",
                   '<?xml version="1.0"?><workbook xmlns="%sspreadsheetml/2006/main" '
                   'xmlns:r="%s"><sheets><sheet name="Data" sheetId="1" r:id="rId1"/>'
                   '</sheets></workbook>' % (ns, rels))
        strings = ('<Relationship Id="rId2" Type="%s/sharedStrings" Target="sharedStrings.xml"/>'
                   % rels) if shared_chunks is not None else ""
        z.writestr("xl/_rels/workbook.xml.rels",
                   '<?xml version="1.0"?><Relationships xmlns="%spackage/2006/relationships">'
                   '<Relationship Id="rId1" Type="%s/worksheet" Target="worksheets/sheet1.xml"/>'
                   '%s</Relationships>' % (ns, rels, strings))
        for name, chunks in (("xl/worksheets/sheet1.xml", sheet_chunks),
                             ("xl/sharedStrings.xml", shared_chunks)):
            if chunks is None:
                continue
            with z.open(name, "w", force_zip64=True) as part:
                for chunk in chunks:
                    part.write(chunk.encode() if isinstance(chunk, str) else chunk)


def sheet(rows):
    """rows: iterable of (row, [(column, xml of the cell's content and type)])."""
    yield SHEET_HEAD + "<sheetData>"
    for r, cells in rows:
        yield '<row r="%d">' % r + "".join(
            '<c r="%s%d"%s</c>' % (column_letters(c), r, body) for c, body in cells) + "</row>"
    yield "</sheetData></worksheet>"


def shared(texts):
    yield ('<?xml version="1.0"?><sst xmlns="http://schemas.openxmlformats.org/'
           'spreadsheetml/2006/main">')
    yield from texts
    yield "</sst>"


def main(out):
    os.makedirs(out, exist_ok=True)
    cases = []

    def case(name, status, expect):
        cases.append("%s\t%d\t%s" % (name, status, expect))

    # One number every 4,096 rows in every 16th column: 256 x 1,024 cells,
    # each alone in its storage chunk.
    write_xlsx(os.path.join(out, "thin.xlsx"), sheet(
        (1 + 4096 * k, [(c, '><v>%d</v>' % k) for c in range(1, 16385, 16)])
        for k in range(256)))
    case("thin.xlsx", 1, "the data hold 1024 variables; a report analyses at most 100")
    # A1 and XFD1048576: the used block is the whole sheet.
    write_xlsx(os.path.join(out, "corner.xlsx"), sheet(
        [(1, [(1, '><v>1</v>')]), (1048576, [(16384, '><v>2</v>')])]))
    case("corner.xlsx", 1, "column XFD has a blank cell at XFD2")
    # Shared strings that inflate 1,000 times: 90 million bytes of alike
    # texts (the bound on their bytes together, 256 MiB, would take
    # seconds of parsing to reach; the ratio stops them at 16 MiB).
    write_xlsx(os.path.join(out, "strings_bomb.xlsx"),
               sheet([(1, [(1, ' t="s"><v>0</v>')])]),
               shared(("<si><t>%s</t></si>" % ("a" * 30000)) * 100 for _ in range(30)))
    case("strings_bomb.xlsx", 1, "xl/sharedStrings.xml inflates to more than 200 times")
    # More shared strings than the limit: empty ones with a little random
    # text between them, so that the part compresses only 150 times or so.
    write_xlsx(os.path.join(out, "strings_count.xlsx"),
               sheet([(1, [(1, ' t="s"><v>0</v>')])]),
               shared("<si/>" * 209715 + "<si><t>%s</t></si>" %
                      base64.b64encode(os.urandom(6144)).decode() for _ in range(41)))
    case("strings_count.xlsx", 1, "holds more than 8388608 shared strings, the limit")
    # A sheet of white space that inflates 1,000 times.
    write_xlsx(os.path.join(out, "sheet_bomb.xlsx"),
               [SHEET_HEAD + "<sheetData>"] + [" " * (1 << 20)] * 300 +
               ["</sheetData></worksheet>"])
    case("sheet_bomb.xlsx", 1, "xl/worksheets/sheet1.xml inflates to more than 200 times")
    # 5 million nested elements.
    write_xlsx(os.path.join(out, "nested.xlsx"),
               [SHEET_HEAD + "<sheetData>"] + ["<a>" * 1000000] * 5)
    case("nested.xlsx", 1, "elements nested more than 256 deep, the limit")
    # A CSV without line breaks.
    with open(os.path.join(out, "one_line.csv"), "w") as f:
        for _ in range(48):
            f.write("1" * (1 << 20))
    case("one_line.csv", 1, "line 1 is longer than 32 MiB, the limit for one line")
    # 16,000 short columns, two of them numbers.
    with open(os.path.join(out, "wide.csv"), "w") as f:
        f.write(",".join("c%d" % i for i in range(16000)) + "\n")
        for r in range(3):
            f.write("%d,%d," % (r, r * r) + ",".join("t" for _ in range(15998)) + "\n")
    case("wide.csv", 0, "Left out, holding no numbers: column C (c2), column D (c3)")
    # Headers with terminal controls, NUL and a C1 control: a valid report,
    # and no raw control character on the terminal.
    with open(os.path.join(out, "controls.csv"), "wb") as f:
        f.write(b"\x1b[31mred\x07,nul\x00here\xc2\x9b\n5,2\n2,5\n3,4\n4,9\n")
    case("controls.csv", 0, "?[31mred?")
    # A header that decodes to a lone surrogate, and one to a pair.
    write_xlsx(os.path.join(out, "surrogate.xlsx"), sheet(
        [(1, [(1, ' t="inlineStr"><is><t>lone _xD800_ half</t></is>'),
              (2, ' t="inlineStr"><is><t>pair _xD83D__xDE00_</t></is>')])] +
        [(r, [(1, '><v>%d</v>' % r), (2, '><v>%d</v>' % (r * r % 7))]) for r in range(2, 9)]))
    case("surrogate.xlsx", 0, "lone \ufffd half")
    # A header of 33,000 bytes.
    with open(os.path.join(out, "long_header.csv"), "w") as f:
        f.write("h" * 33000 + ",b\n1,2\n2,5\n3,4\n4,9\n")
    case("long_header.csv", 0, "Wrote")
    # Not hostile: 300,000 cases, whose report takes long enough to be
    # interrupted while it is saved.
    with open(os.path.join(out, "large.csv"), "w") as f:
        f.write("a,b,c\n")
        f.writelines("%d,%d,%d\n" % (i % 97, i % 89, i % 83) for i in range(300000))
    with open(os.path.join(out, "cases.tsv"), "w") as f:
        f.write("\n".join(cases) + "\n")


if __name__ == "__main__":
    main(sys.argv[1])
