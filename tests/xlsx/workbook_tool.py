#!/usr/bin/env python3
"""Test helper: makes .xlsx files the way other programs do, and reports
what another program sees in the files we write.

  workbook_tool.py make DIR      writes the fixture workbooks into DIR
  workbook_tool.py inspect FILE  prints, line by line, the sheets, values,
                                 formats, sizes and charts openpyxl finds

openpyxl writes every text as a shared string and no cached formula
results; the fixtures that need inline strings or cached values are
patched afterwards at the XML level, as Excel itself would have written
them.
"""
import os
import re
import sys
import zipfile

import openpyxl
from openpyxl.styles import Font


def patch_part(path, part, edit):
    """Rewrites one part of the archive through edit(text) -> text."""
    with zipfile.ZipFile(path) as src:
        items = [(info, src.read(info.filename)) for info in src.infolist()]
    tmp = path + ".tmp"
    with zipfile.ZipFile(tmp, "w", zipfile.ZIP_DEFLATED) as dst:
        for info, data in items:
            if info.filename == part:
                data = edit(data.decode("utf-8")).encode("utf-8")
            dst.writestr(info, data)
    os.replace(tmp, path)


def to_shared_strings(path):
    """Moves the inline texts of every sheet into a shared string table, as
    Excel stores them (openpyxl 3.0 writes inline texts)."""
    table = []
    index = {}

    def share(match):
        text = match.group(2)
        if text not in index:
            index[text] = len(table)
            table.append(text)
        return '%s t="s"><v>%d</v></c>' % (match.group(1), index[text])

    with zipfile.ZipFile(path) as src:
        names = [i.filename for i in src.infolist()]
    for name in names:
        if name.startswith("xl/worksheets/sheet"):
            patch_part(path, name, lambda xml: re.sub(
                r'(<c r="[A-Z]+[0-9]+"(?: s="[0-9]+")?) t="inlineStr"><is><t>(.*?)</t></is></c>',
                share, xml))
    sst = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
           '<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" '
           'count="%d" uniqueCount="%d">' % (len(table), len(table)) +
           "".join("<si><t>%s</t></si>" % t for t in table) + "</sst>")
    with zipfile.ZipFile(path, "a", zipfile.ZIP_DEFLATED) as z:
        z.writestr("xl/sharedStrings.xml", sst)
    patch_part(path, "xl/_rels/workbook.xml.rels", lambda xml: xml.replace(
        "</Relationships>",
        '<Relationship Id="rIdSst" Type="http://schemas.openxmlformats.org/officeDocument/'
        '2006/relationships/sharedStrings" Target="sharedStrings.xml"/></Relationships>'))
    patch_part(path, "[Content_Types].xml", lambda xml: xml.replace(
        "</Types>",
        '<Override PartName="/xl/sharedStrings.xml" ContentType="application/'
        'vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/></Types>'))


def make(folder):
    # Several sheets, shared strings, gaps, Booleans, errors, sizes, and
    # the second sheet active.
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = "Data"
    ws["A1"] = "Name"
    ws["B1"] = "Value"
    ws["A2"] = "alpha & <beta>"
    ws["B2"] = 0.1 + 0.2
    ws["A3"] = "Müller 東京"
    ws["B3"] = -1.5e-300
    ws["A4"] = True
    ws["B4"] = False
    ws["C5"] = 42
    ws["D1"] = "Name"  # the same text again: one shared string
    ws.column_dimensions["B"].width = 20.7109375
    ws.row_dimensions[3].height = 30.75
    gaps = wb.create_sheet("Gaps & Holes")
    gaps["A1"] = 1
    gaps["Z100"] = 2
    gaps["C7000"] = "far"
    gaps["XFD1048576"] = 3
    wb.create_sheet("Empty")
    wb.active = 1
    path = os.path.join(folder, "openpyxl.xlsx")
    wb.save(path)
    to_shared_strings(path)
    # openpyxl prints 16 significant digits; the double needs 17.
    patch_part(path, "xl/worksheets/sheet1.xml",
               lambda xml: xml.replace("<v>0.3</v>", "<v>0.30000000000000004</v>"))

    def cached_values(xml):
        # Formulas with the results Excel stored for them, an inline
        # string, an error value and a rich text.
        cells = (
            '<c r="A1"><f>1+1</f><v>2</v></c>'
            '<c r="B1" t="str"><f>"a"&amp;"b"</f><v>ab</v></c>'
            '<c r="C1" t="b"><f>TRUE()</f><v>1</v></c>'
            '<c r="D1" t="e"><f>1/0</f><v>#DIV/0!</v></c>'
            '<c r="E1" t="inlineStr"><is><t xml:space="preserve"> inline _x000D_ text </t></is></c>'
            '<c r="F1" t="inlineStr"><is><r><t>rich</t></r><r><rPr><b/></rPr><t> text</t></r>'
            '<rPh sb="0" eb="1"><t>phonetic</t></rPh></is></c>'
            '<c r="G1"><f>NA()</f></c>'
            '<c r="H1" t="e"><v>#N/A</v></c>'
            '<c r="I1" t="inlineStr"><is><t>_x004A__x004a__x006a_</t></is></c>'
            '<c r="J1"><v>+5</v></c>'
        )
        row = '<row r="1">' + cells + "</row>" + '<row r="3" ht="12.5" customHeight="1">' \
            '<c r="A3" t="d"><v>2024-03-01T12:00:00</v></c></row>'
        return re.sub(r"<sheetData\s*/>|<sheetData>.*</sheetData>",
                      "<sheetData>" + row + "</sheetData>", xml, flags=re.S)

    wb2 = openpyxl.Workbook()
    wb2.active.title = "Formulas"
    wb2.active["A1"] = "=1+1"
    path2 = os.path.join(folder, "formulas.xlsx")
    wb2.save(path2)
    patch_part(path2, "xl/worksheets/sheet1.xml", cached_values)

    # Malformed files.
    with open(os.path.join(folder, "not_a_zip.xlsx"), "w") as f:
        f.write("name,value\nalpha,1\n")
    with zipfile.ZipFile(os.path.join(folder, "no_workbook.xlsx"), "w") as z:
        z.writestr("readme.txt", "no workbook here")
    import shutil
    broken = os.path.join(folder, "broken_xml.xlsx")
    shutil.copy(path, broken)
    patch_part(broken, "xl/worksheets/sheet1.xml",
               lambda xml: xml.replace("</sheetData>", "<row></sheetData>"))
    beyond = os.path.join(folder, "beyond_columns.xlsx")
    shutil.copy(path, beyond)
    patch_part(beyond, "xl/worksheets/sheet1.xml",
               lambda xml: xml.replace('r="C5"', 'r="XFE5"'))
    beyond_rows = os.path.join(folder, "beyond_rows.xlsx")
    shutil.copy(path, beyond_rows)
    patch_part(beyond_rows, "xl/worksheets/sheet1.xml",
               lambda xml: xml.replace('r="C5"', 'r="C1048577"'))
    bad_string = os.path.join(folder, "bad_shared_string.xlsx")
    shutil.copy(path, bad_string)
    patch_part(bad_string, "xl/worksheets/sheet1.xml",
               lambda xml: xml.replace('<c r="A1" t="s"><v>0</v>',
                                       '<c r="A1" t="s"><v>999</v>'))
    bad_number = os.path.join(folder, "bad_number.xlsx")
    shutil.copy(path, bad_number)
    patch_part(bad_number, "xl/worksheets/sheet1.xml",
               lambda xml: xml.replace("<v>42</v>", "<v>4x2</v>"))


def color(c):
    if c is None or c.type != "rgb":
        return "-"
    return c.rgb


def inspect(path):
    wb = openpyxl.load_workbook(path)
    print("active=" + wb.active.title)
    for ws in wb.worksheets:
        print("sheet=" + ws.title)
        for letter, dim in sorted(ws.column_dimensions.items()):
            if dim.customWidth or dim.hidden:
                print("width %s %s-%s %r hidden=%d" % (ws.title, dim.min, dim.max, dim.width,
                                                       1 if dim.hidden else 0))
        for index, dim in sorted(ws.row_dimensions.items()):
            if dim.customHeight:
                print("height %s %d %r" % (ws.title, index, dim.height))
        for row in ws.iter_rows():
            for cell in row:
                if cell.value is None and cell.style_id == 0:
                    continue
                f = cell.font
                b = cell.border
                fill = cell.fill.fgColor.rgb if cell.fill.fill_type == "solid" else "-"
                print("cell %s!%s value=%r type=%s bold=%d italic=%d underline=%s color=%s "
                      "size=%s name=%s fill=%s top=%s:%s bottom=%s:%s left=%s right=%s "
                      "align=%s wrap=%d numfmt=%s" % (
                          ws.title, cell.coordinate, cell.value, cell.data_type,
                          1 if f.b else 0, 1 if f.i else 0, f.u, color(f.color), f.sz, f.name,
                          fill, b.top.style, color(b.top.color), b.bottom.style,
                          color(b.bottom.color), b.left.style, b.right.style,
                          cell.alignment.horizontal, 1 if cell.alignment.wrap_text else 0,
                          cell.number_format))
        for chart in ws._charts:
            describe_chart(ws, chart)


def text_of(rich):
    if rich is None:
        return "-"
    try:
        parts = []
        for p in rich.tx.rich.p:
            parts.append("".join(r.t for r in (p.r or [])))
        return "|".join(parts)
    except AttributeError:
        return "-"


def describe_chart(ws, chart):
    anchor = chart.anchor._from
    print("chart %s type=%s title=%s from=%d,%d" % (
        ws.title, chart.tagname, text_of(chart.title) if chart.title else "-", anchor.row,
        anchor.col))
    for axis_name in ("x_axis", "y_axis"):
        axis = getattr(chart, axis_name, None)
        if axis is None:
            continue
        s = axis.scaling
        print("axis %s min=%s max=%s major=%s delete=%s numfmt=%s crosses=%s title=%s" % (
            axis_name, s.min, s.max, getattr(axis, "majorUnit", None), axis.delete,
            axis.numFmt.formatCode if axis.numFmt is not None else "-",
            axis.crossesAt if axis.crossesAt is not None else axis.crosses,
            text_of(axis.title) if axis.title else "-"))
    for series in chart.series:
        name = series.tx.strRef.f if series.tx is not None and series.tx.strRef is not None \
            else (series.tx.v if series.tx is not None else "-")
        xref = series.xVal.numRef.f if getattr(series, "xVal", None) is not None and \
            series.xVal.numRef is not None else "-"
        yref = series.yVal.numRef.f if getattr(series, "yVal", None) is not None and \
            series.yVal.numRef is not None else (
                series.val.numRef.f if getattr(series, "val", None) is not None else "-")
        marker = series.marker.symbol if series.marker is not None else "-"
        trend = series.trendline.trendlineType if series.trendline is not None else "-"
        labels = len(series.dLbls.dLbl) if series.dLbls is not None else 0
        print("series name=%s x=%s y=%s marker=%s smooth=%s trendline=%s labels=%d" % (
            name, xref, yref, marker, series.smooth, trend, labels))


def wellformed(path):
    """Parses every XML part with expat, which refuses what XML cannot hold."""
    import xml.parsers.expat
    with zipfile.ZipFile(path) as z:
        for name in z.namelist():
            if not name.endswith((".xml", ".rels")):
                continue
            try:
                xml.parsers.expat.ParserCreate().Parse(z.read(name), True)
                print("well-formed " + name)
            except xml.parsers.expat.ExpatError as e:
                print("BROKEN %s: %s" % (name, e))


if __name__ == "__main__":
    if sys.argv[1] == "make":
        make(sys.argv[2])
    elif sys.argv[1] == "inspect":
        inspect(sys.argv[2])
    elif sys.argv[1] == "wellformed":
        wellformed(sys.argv[2])
    else:
        sys.exit("unknown command " + sys.argv[1])
