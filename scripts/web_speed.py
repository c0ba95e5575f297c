"""Times a CSV from drop to rendered report in the browser page, against
`orv report` on the same file.
  /usr/bin/python3 scripts/web_speed.py build/apps/orv/orv FILE.csv GROUP"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "app"))
from orv_web import OrvWeb  # noqa: E402
from selenium import webdriver  # noqa: E402
from selenium.webdriver.chrome.service import Service  # noqa: E402
from selenium.webdriver.common.by import By  # noqa: E402
from selenium.webdriver.support.ui import WebDriverWait  # noqa: E402

orv, csv_file, group = sys.argv[1:4]
start = time.time()
subprocess.run([orv, "report", csv_file, "--group", group, "-o", "/tmp/orv-speed.xlsx"],
               check=True, stdout=subprocess.DEVNULL)
cli = time.time() - start

web = OrvWeb(orv)
options = webdriver.ChromeOptions()
options.binary_location = "/usr/bin/chromium"
for a in ("--headless=new", "--no-sandbox", "--disable-gpu", "--window-size=1280,800"):
    options.add_argument(a)
driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
try:
    driver.get(web.url)
    wait = WebDriverWait(driver, 60)
    wait.until(lambda d: d.find_elements(By.CSS_SELECTOR, "#analysis option"))
    driver.find_element(By.ID, "group").send_keys(group)
    start = time.time()
    driver.find_element(By.ID, "file").send_keys(os.path.abspath(csv_file))
    wait.until(lambda d: d.find_elements(By.CSS_SELECTOR, "#grid tbody tr"))
    opened = time.time() - start
    driver.find_element(By.ID, "group").send_keys(group)
    driver.find_element(By.ID, "run").click()
    wait.until(lambda d: len(d.find_elements(By.CSS_SELECTOR, "figure svg")) >= 4)
    total = time.time() - start
    server = driver.execute_script(
        "return performance.getEntriesByType('resource').filter(e => e.name.includes('/api/'))"
        ".reduce((s, e) => s + e.responseStart - e.requestStart, 0) / 1000")
finally:
    driver.quit()
    web.stop()
print("orv report (with saving): %.2f s" % cli)
print("page: drop to rendered report %.2f s (file open and preview %.2f s);"
      " server's share %.2f s = %.2fx the CLI" % (total, opened, server, server / cli))
