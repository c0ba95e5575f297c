"""The browser page in headless Chromium: the sample, each analysis the page
offers, a table value against R, the charts' SVG, the downloaded report,
picking columns, errors next to their control, the token. Screenshots go to
the folder given as the second argument."""
import csv
import os
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
        for name in names:
            Select(self.el("#analysis")).select_by_value(name)
            self.run_and_wait()
            self.assertEqual([e.text for e in self.els(".error") if e.text], [], name)
            self.shot("02-" + name)
            self.driver.execute_script("document.querySelector('figure').scrollIntoView()")
            self.shot("02-" + name + "-charts")
            self.check_report_tables()
            self.check_charts()
        self.el("#download").click()
        path = os.path.join(self.downloads, "report.xlsx")
        WebDriverWait(self.driver, 30).until(lambda d: os.path.exists(path))
        book = openpyxl.load_workbook(path)
        self.assertEqual(book.sheetnames[:3], ["Report", "Charts", "Data"])
        self.assertEqual(book["Data"].max_row, 151)

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
        for svg in figures:
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
