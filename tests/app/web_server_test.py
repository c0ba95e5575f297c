"""orv serve --http without a browser: the token, concurrent clients, limits,
bad files and requests, clients that vanish, and sessions freed."""
import json
import os
import socket
import sys
import tempfile
import time
import unittest
from concurrent.futures import ThreadPoolExecutor

from orv_web import OrvWeb

ORV = sys.argv.pop(1) if len(sys.argv) > 1 else "build/apps/orv/orv"


class WebServer(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.web = OrvWeb(ORV, "--idle", "2", "--max-upload", "1")

    @classmethod
    def tearDownClass(cls):
        status = cls.web.stop()
        if status != 0:  # a leak found at exit under the sanitizers, too
            raise AssertionError("the server ended with %d: %s" % (status, cls.web.proc.stderr.read()))

    def test_every_call_needs_the_token(self):
        for method, path in [("GET", "/"), ("GET", "/api/analyses"), ("POST", "/api/session"),
                             ("POST", "/api/run")]:
            for token in (False, "0" * 32, self.web.token[:-1]):
                status, answer = self.web.call(method, path, token=token)
                self.assertEqual(status, 403, (method, path, token))
                self.assertIn("token", answer["error"])
        status, page = self.web.call("GET", "/?token=" + self.web.token, token=False)
        self.assertEqual(status, 200)
        self.assertIn(b"<title>orv", page)

    def test_concurrent_clients_get_their_own_results(self):
        def client(level):
            s = self.web.session()
            self.assertEqual(self.web.call("POST", "/api/sample", session=s)[0], 200)
            status, res = self.web.call("POST", "/api/run", json.dumps(
                {"analysis": "report", "choices": {"level": level}}), session=s)
            self.assertEqual(status, 200, res)
            self.web.call("POST", "/api/session/end", session=s)
            return res["tables"][0]["header"][5]
        levels = [0.8, 0.9, 0.95, 0.99, 0.5, 0.75]
        with ThreadPoolExecutor(6) as pool:
            headers = list(pool.map(client, levels))
        self.assertEqual(headers, ["Lower %g%% CL" % (100 * l) for l in levels])

    def test_failures_are_answered_with_their_cause(self):
        s = self.web.session()
        cases = [  # method, path, body, status, words in the error, field
            ("POST", "/api/preview", None, 404, "no such call", None),
            ("GET", "/api/preview", None, 409, "open a file", "file"),
            ("POST", "/api/upload?name=../../etc/x.exe", b"MZ", 415, "only .xlsx", "file"),
            ("POST", "/api/upload?name=broken.xlsx", b"not a zip" * 10, 422, "broken.xlsx", "file"),
            ("POST", "/api/upload?name=big.csv", b"1\n" * (600 << 10), 413, None, None),
            ("POST", "/api/upload?name=ok.csv", b"x,y,g\n1,2,a\n2,4,a\n3,5,b\n4,4,b\n5,5,b\n",
             200, None, None),
            ("POST", "/api/run", b"{not json", 400, "not valid JSON", None),
            ("POST", "/api/run", json.dumps({"analysis": "nope"}), 400, "nope", "analysis"),
            ("POST", "/api/run", json.dumps({"analysis": "report", "choices": {"level": 2}}),
             422, "confidence level", "level"),
            ("POST", "/api/run", json.dumps({"analysis": "report", "choices": {"group": "Q"}}),
             422, "Q", "group"),
        ]
        for method, path, body, status, words, field in cases:
            got, answer = self.web.call(method, path, body, session=s)
            self.assertEqual(got, status, (path, answer))
            if words:
                self.assertIn(words, answer["error"], path)
                self.assertNotIn("/tmp", answer["error"])
            if field:
                self.assertEqual(answer["field"], field, path)
        status, res = self.web.call("POST", "/api/run", json.dumps(
            {"analysis": "report", "choices": {"group": "C"}}), session=s)
        self.assertEqual(status, 200, res)
        status, book = self.web.call("GET", "/api/report", session=s)
        self.assertEqual((status, book[:2]), (200, b"PK"))

    def test_a_client_that_vanishes_mid_upload_costs_nothing(self):
        s = self.web.session()
        for _ in range(5):
            with socket.create_connection((self.web.host, self.web.port)) as raw:
                raw.sendall(("POST /api/upload?name=a.csv HTTP/1.1\r\nHost: x\r\nX-Orv-Token: %s\r\n"
                             "X-Orv-Session: %s\r\nContent-Length: 900000\r\n\r\n" %
                             (self.web.token, s)).encode() + b"1,2\n" * 1000)
        self.assertEqual(self.web.call("POST", "/api/sample", session=s)[0], 200)

    def test_sessions_are_freed_when_ended_or_idle(self):
        time.sleep(2.5)  # the other tests' sessions go idle
        self.assertEqual(self.web.call("GET", "/api/status")[1]["sessions"], 0)
        a, b = self.web.session(), self.web.session()
        self.web.call("POST", "/api/session/end", session=a)
        self.assertEqual(self.web.call("GET", "/api/status")[1]["sessions"], 1)
        self.assertEqual(self.web.call("GET", "/api/preview", session=a)[0], 404)
        time.sleep(2.5)
        self.assertEqual(self.web.call("GET", "/api/status")[1]["sessions"], 0)
        status, answer = self.web.call("POST", "/api/sample", session=b)
        self.assertEqual((status, answer["field"]), (404, "session"))

    def test_the_files_go_with_the_server(self):
        tmp = tempfile.mkdtemp()
        web = OrvWeb(ORV, env=dict(os.environ, TMPDIR=tmp))
        s = web.session()
        self.assertEqual(web.call("POST", "/api/upload?name=a.csv", b"x,y\n1,2\n2,5\n3,4\n",
                                  session=s)[0], 200)
        self.assertTrue(any(files for _, _, files in os.walk(tmp)))
        self.assertEqual(web.stop(), 0)
        self.assertEqual(os.listdir(tmp), [])
        os.rmdir(tmp)


if __name__ == "__main__":
    unittest.main()
