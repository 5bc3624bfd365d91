"""The printed sheet and the workbook of the batch command, read back with independent readers:
openpyxl for the .xlsx and pdftotext for the PDF.

Usage: output_test.py path/to/wirelark-cli
"""

import os
import subprocess
import sys
import tempfile
import unittest

import openpyxl

CLI = None

SINGLE = "──▶"
HEAD = "-─▶┌"
FIRST_TRUNK = "┌─┘"
TRUNK = "│　"
BRANCH = "├─▶"
LAST = "└─▶"


def comma_text(cells):
    def field(c):
        if any(ch in c for ch in ',"') or any(0x01 <= ord(ch) <= 0x20 for ch in c):
            return '"' + c.replace('"', '""') + '"'
        return c
    return ",".join(field(c) for c in cells)


def row(**cells):
    r = [""] * 35
    for key, value in cells.items():
        r[int(key[1:])] = value
    return r


def feeder_rows(first_number):
    """A single feeder (1 row) and a residential feeder of 19 rows: 20 rows in all."""
    rows = [row(c0=str(first_number), c1="L-1", c2="単相3線", c3="100/200", c4="75", c5=SINGLE,
                c6="20", c7="電灯盤", c8="75", c9="52.5", c10="0.95", c11="CV 22sq-3C",
                c12="気中暗渠配線", c13="100", c14="0.86", c15="0.9", c16="0.9", c17="2",
                c24="1", c26=str(first_number))]
    number = str(first_number + 1)
    rows.append(row(c0=number, c1="動力", c2="三相3線", c3="200", c4="1600", c5=HEAD, c6="35",
                    c7="動力幹線", c8="1600", c9="1200", c10="0.8", c11="CV 325sq-3C",
                    c12="保護管配線", c13="720", c14="0.105", c15="1.25", c16="1.25",
                    c17="4", c24="19", c26=number))
    for i in range(18):
        glyph = FIRST_TRUNK if i == 0 else (LAST if i == 17 else (TRUNK if i % 2 else BRANCH))
        rows.append(row(c5=glyph, c6="10", c7="分岐%d" % i, c9="20", c26=number))
    return rows


def write_ksk(path, rows, page_numbers=True, building="試験ビル"):
    rows = [list(r) for r in rows]
    rows[0][30] = "令和"
    rows[0][34] = "3"
    if len(rows) > 1:
        rows[1][34] = "5" if page_numbers else "6"
    if len(rows) > 2:
        rows[2][34] = "令和"
    last = len(rows) - 1
    lines = [str(last + 20), str(last)] + [comma_text(r) for r in rows]
    lines += ["60", "6", "4", "1", building, "令和"]
    data = "".join(line + "\r\n" for line in lines)
    with open(path, "wb") as f:
        f.write(data.encode("cp932", errors="replace"))


def run(*args):
    return subprocess.run([CLI] + list(args), capture_output=True, timeout=60)


def pdf_text(path):
    out = subprocess.run(["pdftotext", "-layout", path, "-"], capture_output=True, check=True,
                         timeout=60).stdout.decode("utf-8")
    # The PDF text layer gives U+301C for the form's U+FF5E.
    return out.replace("\u301c", "\uff5e")


class Workbook18Rows(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.TemporaryDirectory()
        cls.ksk = os.path.join(cls.dir.name, "in.ksk")
        write_ksk(cls.ksk, feeder_rows(1))
        cls.xlsx = os.path.join(cls.dir.name, "out.xlsx")
        p = run("xlsx", cls.ksk, "-o", cls.xlsx)
        if p.returncode != 0:
            raise AssertionError(p.stderr.decode())
        cls.book = openpyxl.load_workbook(cls.xlsx)

    @classmethod
    def tearDownClass(cls):
        cls.dir.cleanup()

    def test_a_block_that_does_not_fit_starts_the_next_worksheet(self):
        # Row 0 alone; the 19-row block starts worksheet 2 and runs over into worksheet 3.
        self.assertEqual(self.book.sheetnames, ["電路計算書(1)", "電路計算書(2)", "電路計算書(3)"])
        ws1, ws2, ws3 = (self.book[n] for n in self.book.sheetnames)
        self.assertEqual(ws1["B9"].value, "L-1")
        self.assertIsNone(ws1["B11"].value)
        self.assertEqual(ws2["B9"].value, "動力")
        self.assertEqual(ws2["H43"].value, "分岐16")
        self.assertEqual(ws3["H9"].value, "分岐17")

    def test_values_of_a_row(self):
        ws = self.book["電路計算書(1)"]
        self.assertEqual(ws["C9"].value, "単相3線")
        self.assertEqual(ws["D9"].value, "100/200")
        self.assertEqual(ws["E9"].value, 75)
        self.assertEqual(ws["F9"].value, SINGLE)
        self.assertEqual(ws["J9"].value, 52.5)
        self.assertEqual(ws["K9"].value, 0.95)
        self.assertEqual(ws["K9"].number_format, "0.00")
        self.assertEqual(ws["L9"].value, "CV 22sq-3C")
        self.assertEqual(ws["M9"].value, "気中暗渠配線")
        self.assertEqual(ws["O9"].value, 0.86)
        self.assertIsNone(ws["S9"].value)

    def test_heading(self):
        ws = self.book["電路計算書(2)"]
        self.assertEqual(ws["S1"].value, "(様式 電－８－１) ")
        self.assertEqual(ws["B2"].value, "　電路計算書（幹線用）")
        self.assertEqual(ws["G2"].value, "建物名称")
        self.assertEqual(ws["H2"].value, "試験ビル")
        self.assertEqual(ws["Q2"].value, "令和 6 年 4 月 1 日")
        self.assertEqual(ws["D3"].value, 60)
        self.assertEqual(ws["E4"].value, "幹線保\n護用遮\n断器定\n格電流\n[A]")
        self.assertTrue(ws["E4"].alignment.wrap_text)
        self.assertEqual(ws["C48"].value, 1000)
        self.assertEqual(ws["C48"].number_format, "#,##0")
        self.assertEqual(ws["S51"].value, "Ｈ２１")

    def test_merges(self):
        ws = self.book["電路計算書(1)"]
        merged = {str(r) for r in ws.merged_cells.ranges}
        for m in ["B2:E2", "H2:P2", "Q2:S2", "E3:S3", "B4:B8", "L4:O4", "P4:Q5", "D47:E48",
                  "B50:S50", "B9:B10", "S43:S44"]:
            self.assertIn(m, merged)
        self.assertEqual(len(merged), 38 + 6 + 18 * 18)

    def test_fonts_and_alignment(self):
        ws = self.book["電路計算書(1)"]
        self.assertEqual(ws["B2"].font.name, "ＭＳ 明朝")
        self.assertEqual(ws["B2"].font.sz, 12)
        self.assertEqual(ws["B2"].alignment.horizontal, "justify")
        self.assertEqual(ws["B2"].alignment.vertical, "center")
        self.assertEqual(ws["H2"].font.u, "single")
        self.assertEqual(ws["S1"].alignment.horizontal, "right")
        self.assertEqual(ws["C4"].alignment.horizontal, "center")
        self.assertEqual(ws["F9"].font.sz, 16)
        self.assertEqual(ws["G9"].font.sz, 10)
        self.assertTrue(ws["H9"].alignment.shrink_to_fit)
        self.assertTrue(ws["M9"].alignment.shrink_to_fit)
        self.assertEqual(ws["C46"].font.name, "ＭＳ 明朝")  # outside the merged slots

    def test_borders(self):
        ws = self.book["電路計算書(1)"]
        self.assertEqual(ws["B2"].border.top.style, "medium")
        self.assertEqual(ws["B2"].border.left.style, "medium")
        self.assertEqual(ws["S30"].border.right.style, "medium")
        self.assertEqual(ws["K50"].border.bottom.style, "medium")
        self.assertEqual(ws["H2"].border.bottom.style, "thin")
        self.assertEqual(ws["B9"].border.top.style, "thin")
        self.assertIsNone(ws["C10"].border.top.style)
        self.assertEqual(ws["B20"].border.right.style, "hair")
        self.assertEqual(ws["C20"].border.left.style, "hair")
        self.assertEqual(ws["M4"].border.bottom.style, "hair")
        self.assertEqual(ws["C47"].border.bottom.style, "hair")
        self.assertIsNone(ws["A20"].border.right.style)

    def test_widths_and_heights(self):
        ws = self.book["電路計算書(1)"]
        widths = dict(zip("ABCDEFGHIJKLMNOPQRS",
                          [2, 12, 8, 7, 8, 9, 7, 11, 8, 8, 7, 12, 14, 8, 9, 7, 7, 6, 9]))
        for letter, width in widths.items():
            # Stored with the application's padding of about 0.71 characters.
            self.assertAlmostEqual(ws.column_dimensions[letter].width, width + 0.71, delta=0.01,
                                   msg=letter)
        for number, height in [(1, 15.75), (2, 27.75), (3, 18), (5, 13.5), (8, 15.75), (30, 13.5),
                               (49, 15), (50, 7.5), (51, 15.75)]:
            self.assertAlmostEqual(ws.row_dimensions[number].height, height, delta=0.01, msg=number)
            self.assertTrue(ws.row_dimensions[number].customHeight, number)

    def test_page_setup(self):
        ws = self.book["電路計算書(3)"]
        self.assertEqual(ws.page_setup.scale, 67)
        self.assertEqual(int(ws.page_setup.paperSize), 9)
        self.assertEqual(ws.page_setup.orientation, "landscape")
        self.assertTrue(ws.page_setup.useFirstPageNumber)
        self.assertIn(ws.page_setup.firstPageNumber, (None, 1, "1"))  # 1 is the default
        self.assertFalse(ws.sheet_properties.pageSetUpPr is not None and
                         ws.sheet_properties.pageSetUpPr.fitToPage)
        self.assertTrue(ws.print_options.horizontalCentered)
        self.assertTrue(ws.print_options.verticalCentered)
        self.assertEqual(ws.oddHeader.left.text, "&A")
        self.assertEqual([b.id for b in ws.row_breaks.brk], [51])
        self.assertEqual([b.id for b in ws.col_breaks.brk], [19])


class WorkbookByFeeder(unittest.TestCase):
    def test_every_feeder_on_worksheets_of_its_own(self):
        with tempfile.TemporaryDirectory() as d:
            ksk = os.path.join(d, "in.ksk")
            write_ksk(ksk, feeder_rows(1))
            out = os.path.join(d, "by-feeder.xlsx")
            p = run("xlsx", ksk, "-o", out, "--by-feeder")
            self.assertEqual(p.returncode, 0, p.stderr.decode())
            book = openpyxl.load_workbook(out)
            self.assertEqual(book.sheetnames,
                             ["電路計算書 L-1", "電路計算書 動力 (1)", "電路計算書 動力 (2)"])
            self.assertEqual(book["電路計算書 L-1"]["H9"].value, "電灯盤")
            self.assertIsNone(book["電路計算書 L-1"]["H11"].value)
            self.assertEqual(book["電路計算書 動力 (2)"]["H9"].value, "分岐17")

    def test_a_row_count_that_is_no_number_writes_nothing(self):
        with tempfile.TemporaryDirectory() as d:
            rows = feeder_rows(1)
            rows[1][24] = "十九"
            ksk = os.path.join(d, "in.ksk")
            write_ksk(ksk, rows)
            out = os.path.join(d, "out.xlsx")
            p = run("xlsx", ksk, "-o", out, "--by-feeder")
            self.assertEqual(p.returncode, 2)
            message = p.stderr.decode()
            self.assertIn("2 行目", message)
            self.assertEqual(message.count("\n"), 1)
            self.assertFalse(os.path.exists(out))


class Pdf(unittest.TestCase):
    def test_the_printed_sheet(self):
        with tempfile.TemporaryDirectory() as d:
            ksk = os.path.join(d, "in.ksk")
            write_ksk(ksk, feeder_rows(1))
            out = os.path.join(d, "sheet.pdf")
            p = run("pdf", ksk, "-o", out)
            self.assertEqual(p.returncode, 0, p.stderr.decode())
            text = pdf_text(out)
            pages = text.split("\f")
            self.assertEqual(len([pg for pg in pages if pg.strip()]), 2)
            for fixed in ["電路計算書（幹線用）", "(様式 電－８－１)", "幹線番号",
                          "負荷名称", "電線及びケーブル", "電圧降下による電線太さの算出", "Ｈ２１"]:
                self.assertIn(fixed, pages[0])
                self.assertIn(fixed, pages[1])
            for page in pages[:2]:
                self.assertRegex(page, r"建物名称\s+試験ビル")
                self.assertIn("令和 6 年 4 月 1 日", page)
            self.assertIn("52.50", pages[0])
            self.assertIn("1,600", pages[0])
            self.assertIn("0.105", pages[0])
            self.assertIn("P-1", pages[0])
            self.assertIn("P-2", pages[1])
            self.assertIn("分岐17", pages[1])
            info = subprocess.run(["pdfinfo", out], capture_output=True, check=True).stdout.decode()
            self.assertIn("試験ビル", info)
            self.assertIn("842 x 595", info)

    def test_page_numbers_follow_the_sheets_setting(self):
        with tempfile.TemporaryDirectory() as d:
            ksk = os.path.join(d, "in.ksk")
            write_ksk(ksk, feeder_rows(1), page_numbers=False)
            out = os.path.join(d, "sheet.pdf")
            p = run("pdf", ksk, "-o", out)
            self.assertEqual(p.returncode, 0, p.stderr.decode())
            self.assertNotIn("P-", pdf_text(out))

    def test_a_number_column_holding_text_writes_nothing_and_names_the_cell(self):
        with tempfile.TemporaryDirectory() as d:
            rows = feeder_rows(1)
            rows[4][9] = "20A"
            ksk = os.path.join(d, "in.ksk")
            write_ksk(ksk, rows)
            out = os.path.join(d, "sheet.pdf")
            p = run("pdf", ksk, "-o", out)
            self.assertEqual(p.returncode, 2)
            message = p.stderr.decode()
            self.assertIn("情報不足で印刷出来ませんでした。", message)
            self.assertIn("5 行目", message)
            self.assertIn("設計負荷電流", message)
            self.assertEqual(message.count("\n"), 1)
            self.assertFalse(os.path.exists(out))


class Arguments(unittest.TestCase):
    def test_missing_output_or_input(self):
        for args in (["pdf"], ["pdf", "in.ksk"], ["xlsx", "in.ksk", "--bogus", "-o", "x.xlsx"],
                     ["xlsx", "in.ksk", "-o"]):
            p = run(*args)
            self.assertEqual(p.returncode, 2, args)
            self.assertTrue(p.stderr.strip(), args)

    def test_a_missing_sheet_file(self):
        with tempfile.TemporaryDirectory() as d:
            out = os.path.join(d, "out.xlsx")
            p = run("xlsx", os.path.join(d, "none.ksk"), "-o", out)
            self.assertEqual(p.returncode, 2)
            self.assertFalse(os.path.exists(out))


if __name__ == "__main__":
    CLI = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
