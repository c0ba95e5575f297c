"""The browser page in headless Chromium: the sample, each analysis the page
offers, a table value against R, the charts' SVG, the downloaded report,
picking columns, errors next to their control, the token. Screenshots go to
the folder given as the second argument."""
import csv
import os
import re
import sys
import tempfile
import time
import unittest

import openpyxl
from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import Select, WebDriverWait

from orv_web import OrvWeb

ORV = sys.argv.pop(1) if len(sys.argv) > 1 else "build/apps/orv/orv"
SHOTS = sys.argv.pop(1) if len(sys.argv) > 1 else "build/web-screenshots"
HERE = os.path.dirname(os.path.abspath(__file__))


def r_reference(kind, variable):
    with open(os.path.join(HERE, "..", "data", "report_reference.csv")) as f:
        for row in csv.DictReader(f):
            if (row["dataset"], row["kind"], row["variable"]) == ("iris", kind, variable):
                return float(row["value"])
    raise KeyError(kind)


def analysis_reference(case, table, row, column):
    """R's value; its variable names as the sample's headers (Sepal.Length: Sepal length)."""
    with open(os.path.join(HERE, "..", "data", "analysis_reference.csv")) as f:
        for r in csv.DictReader(f):
            named = re.sub(r"(\w+)\.(\w+)", lambda m: m[1] + " " + m[2].lower(), r["row"])
            if (r["case"], r["table"], named, r["column"]) == (case, table, row, column):
                return float(r["value"])
    raise KeyError((case, table, row, column))


# Each analysis the page offers but the report: the controls set, one table
# value against R, and per chart a series and how many of its marks it shows.
POINTS = ("Data", "circle.point", 150)
BANDS = [POINTS, ("UpperBand", "path.line", 1), ("LowerBand", "path.line", 1)]
RUNS = {
    "describe": ({}, ("Descriptive statistics", "Sepal length", "Mean", "describe_iris"),
                 [[("Series1", ".bar", None)]]),
    "ttest": ({"range": "B1:B151", "y": "A", "paired": True}, ("t test", "Paired", "t", "ttest_iris_paired"), []),
    "regress": ({"range": "C1:C151", "y": "Petal width"},
                ("Coefficients", "Petal length", "Coefficient", "regress_iris_petals"),
                [BANDS, BANDS, [POINTS]]),
    "correlate": ({"pair": "Sepal length,Sepal width"},
                  ("Correlations", "Sepal length with Sepal width", "rho", "correlate_iris"),
                  [[POINTS]]),
    "nonparametric": ({"range": "A1:A151", "group": "E"},
                      ("Kruskal-Wallis test", "Sepal length", "H", "rank_iris_species"), []),
    "anova": ({"range": "A1:A151,D1:E151", "group": "Species"},
              ("Analysis of variance", "Petal width: Between groups", "F", "anova_iris"), []),
    "pca": ({}, ("Eigenvalues", "Eigenvalue", "PC1", "pca_iris"),
            [[("Series1", "circle.point", 4)], [("Data", "circle.point", 4), ("Names", "text.label", 4)]]),
}


class WebPage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        os.makedirs(SHOTS, exist_ok=True)
        cls.downloads = tempfile.mkdtemp(prefix="orv-page-")
        cls.web = OrvWeb(ORV)
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for a in ("--headless=new", "--no-sandbox", "--disable-gpu", "--window-size=1280,800"):
            options.add_argument(a)
        options.add_experimental_option("prefs", {"download.default_directory": cls.downloads})
        cls.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        cls.wait = WebDriverWait(cls.driver, 30)

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        cls.web.stop()

    def el(self, css):
        return self.driver.find_element(By.CSS_SELECTOR, css)

    def els(self, css):
        return self.driver.find_elements(By.CSS_SELECTOR, css)

    def open_sample(self):
        self.driver.set_window_size(1280, 800)
        self.driver.get(self.web.url)
        self.wait.until(lambda d: self.els("#analysis option"))
        self.el("#sample").click()
        self.wait.until(lambda d: len(self.els("#grid tbody tr")) == 30)

    def run_and_wait(self):
        before = self.driver.execute_script("return document.body.dataset.ran || ''")
        self.el("#run").click()
        self.wait.until(lambda d: d.execute_script("return document.body.dataset.ran || ''") != before
                        or any(e.text for e in self.els(".error")))

    def shot(self, name):
        self.driver.save_screenshot(os.path.join(SHOTS, name + ".png"))

    def test_1_each_analysis_runs_on_the_sample(self):
        self.open_sample()
        self.shot("01-sample")
        names = [o.get_attribute("value") for o in self.els("#analysis option")]
        self.assertEqual(sorted(names), sorted(["report"] + list(RUNS)))
        self.run_analysis("report", {})
        self.check_report_tables()
        self.check_charts()
        self.check_download(lambda book: self.assertEqual(book.sheetnames[:3], ["Report", "Charts", "Data"])
                            or self.assertEqual(book["Data"].max_row, 151))
        for name, (picks, (table, row, column, case), charts) in RUNS.items():
            self.run_analysis(name, picks)
            got = self.table_value(table, row, column)
            self.assertAlmostEqual(got / analysis_reference(case, table, row, column), 1, delta=1e-9, msg=name)
            figures = self.els("figure svg")
            self.assertEqual(len(figures), len(charts), name)
            for svg, marks in zip(figures, charts):
                for series, element, count in marks:
                    if count is None:  # a bar for each row of the frequency table
                        count = len(self.els("table[data-title^='Frequencies'] tbody tr"))
                    shown = svg.find_elements(By.CSS_SELECTOR, f"g[data-name='{series}'] {element}")
                    self.assertEqual(len(shown), count, (name, series, element))
            self.check_ticks(figures)
        # The last analysis's workbook holds its numbers at full precision.
        eigenvalue = analysis_reference("pca_iris", "Eigenvalues", "Eigenvalue", "PC1")
        self.check_download(lambda book: self.assertTrue(any(
            isinstance(v, float) and abs(v / eigenvalue - 1) < 1e-12
            for r in book["Principal components"].iter_rows(values_only=True) for v in r)))

    def run_analysis(self, name, picks):
        Select(self.el("#analysis")).select_by_value(name)
        self.driver.execute_script("for (const id of ['range', 'group', 'y', 'pair']) document.getElementById(id).value = ''")
        for control, value in picks.items():
            element = self.el("#" + control)
            self.assertTrue(element.is_displayed(), control)
            if isinstance(value, bool):
                if element.is_selected() != value:
                    element.click()
            else:
                element.clear()
                element.send_keys(str(value))
        self.run_and_wait()
        self.assertEqual([e.text for e in self.els(".error") if e.text], [], name)
        self.shot("02-" + name)
        if self.els("figure"):
            self.driver.execute_script("document.querySelector('figure').scrollIntoView()")
            self.shot("02-" + name + "-charts")

    def table_value(self, title, row, column):
        table = self.el(f"table[data-title='{title}']")
        headers = [th.text for th in table.find_elements(By.CSS_SELECTOR, "thead th")]
        for tr in table.find_elements(By.CSS_SELECTOR, "tbody tr"):
            cells = tr.find_elements(By.CSS_SELECTOR, "th, td")
            if cells[0].text == row:
                return float(cells[headers.index(column)].get_attribute("data-v"))
        self.fail(f"no row {row} in {title}")

    def check_download(self, check):
        path = os.path.join(self.downloads, "report.xlsx")
        if os.path.exists(path):
            os.remove(path)
        self.el("#download").click()
        WebDriverWait(self.driver, 30).until(lambda d: os.path.exists(path))
        check(openpyxl.load_workbook(path))

    def check_report_tables(self):
        table = self.el("table[data-title='One-way analysis of variance by Species']")
        headers = [th.text for th in table.find_elements(By.CSS_SELECTOR, "thead th")]
        row = table.find_elements(By.CSS_SELECTOR, "tbody tr")[0]
        cells = row.find_elements(By.CSS_SELECTOR, "th, td")
        self.assertEqual(cells[0].text, "Sepal length")
        f = float(cells[headers.index("F")].get_attribute("data-v"))
        self.assertAlmostEqual(f / r_reference("anova_F", "Sepal length"), 1, delta=1e-9)

    def check_charts(self):
        figures = self.els("figure svg")
        self.assertEqual(len(figures), 4)
        scatter = figures[0]
        self.assertEqual(len(scatter.find_elements(By.CSS_SELECTOR, "g[data-name='Sepal width'] circle.point")), 150)
        for band in ("95% confidence band", "95% prediction band"):
            self.assertEqual(len(scatter.find_elements(By.CSS_SELECTOR, f"g[data-name='{band}'] path.line")), 1)
        self.check_ticks(figures)

    def check_ticks(self, figures):
        for svg in figures:
            # Every text inside the chart, the x axis' labels side by side.
            outside, crowded = self.driver.execute_script("""
                const svg = arguments[0], r = svg.getBoundingClientRect();
                const out = [...svg.querySelectorAll('text')].filter(t => {
                    const b = t.getBoundingClientRect(); return b.left < r.left - 1 || b.right > r.right + 1; });
                const xs = [...svg.querySelectorAll('text.tick-x')].map(t => t.getBoundingClientRect())
                    .sort((a, b) => a.left - b.left);
                return [out.map(t => t.textContent), xs.some((b, i) => i && xs[i - 1].right > b.left + 0.5)];
                """, svg)
            self.assertEqual(outside, [])
            self.assertFalse(crowded)
            for axis in ("tick-x", "tick-y"):
                labels = [t.text for t in svg.find_elements(By.CSS_SELECTOR, "text." + axis)]
                self.assertGreaterEqual(len(labels), 3, axis)
                self.assertTrue(all(labels), axis)
            ys = [float(t.text) for t in svg.find_elements(By.CSS_SELECTOR, "text.tick-y")]
            steps = {round(b - a, 9) for a, b in zip(ys, ys[1:])}
            self.assertEqual(len(steps), 1, ys)  # evenly spaced

    def test_2_columns_are_picked_by_clicking_their_headers(self):
        self.open_sample()
        for letter in ("A", "C"):
            self.el(f"#grid thead button[data-letter='{letter}']").click()
        self.assertEqual(self.el("#range").get_attribute("value"), "A1:A151,C1:C151")
        self.el("input[name=pickmode][value=group]").click()
        self.el("#grid thead button[data-letter='E']").click()
        self.assertEqual(self.el("#group").get_attribute("value"), "E")
        self.run_and_wait()
        rows = self.els("table[data-title='Descriptive statistics'] tbody tr")
        self.assertEqual([r.find_element(By.CSS_SELECTOR, "th").text for r in rows],
                         ["Sepal length", "Petal length"])
        self.shot("03-picked")
        self.el("#group").clear()
        self.el("#group").send_keys("F")
        self.run_and_wait()
        self.assertIn("F", self.el("#err-group").text)
        self.shot("04-group-error")
        Select(self.el("#analysis")).select_by_value("regress")
        self.assertFalse(self.el("#group").is_displayed())
        self.el("#y").send_keys("Q")
        self.run_and_wait()
        self.assertIn('"Q" names no column', self.el("#err-y").text)

    def test_3_a_bad_file_shows_its_error(self):
        self.open_sample()
        bad = os.path.join(self.downloads, "broken.xlsx")
        with open(bad, "wb") as f:
            f.write(b"this is no workbook")
        self.el("#file").send_keys(bad)
        self.wait.until(lambda d: self.el("#err-file").text)
        self.assertIn("broken.xlsx", self.el("#err-file").text)
        self.shot("05-bad-file")

    def test_4_without_the_token_nothing_is_served(self):
        self.driver.get(self.web.url.split("?")[0])
        self.assertIn("token", self.el("body").text)
        self.assertNotIn("orv: statistics", self.driver.title)

    def test_5_readable_at_phone_width(self):
        self.open_sample()
        self.driver.set_window_size(390, 844)
        self.run_and_wait()
        width = self.driver.execute_script("return document.documentElement.scrollWidth")
        self.assertLessEqual(width, 390)
        self.shot("06-phone")
        self.driver.execute_script("document.querySelector('#results').scrollIntoView()")
        self.shot("07-phone-results")


if __name__ == "__main__":
    start = time.time()
    ok = unittest.main(exit=False).result.wasSuccessful()
    print("page test: %.1f s" % (time.time() - start))
    sys.exit(0 if ok else 1)
