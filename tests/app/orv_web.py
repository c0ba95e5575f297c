"""Starts `orv serve --http` and calls its API (shared by the server and page tests)."""
import http.client
import json
import subprocess
import urllib.parse


class OrvWeb:
    def __init__(self, orv, *args, env=None):
        self.proc = subprocess.Popen([orv, "serve", "--http", *args], stdout=subprocess.PIPE,
                                     stderr=subprocess.PIPE, text=True, env=env)
        self.url = self.proc.stdout.readline().strip()
        parts = urllib.parse.urlparse(self.url)
        self.host, self.port = parts.hostname, parts.port
        self.token = urllib.parse.parse_qs(parts.query)["token"][0]

    def call(self, method, path, body=None, session=None, token=True, content_type=None):
        """(status, parsed JSON or bytes) of one request on a connection of its own."""
        headers = {}
        if token:
            headers["X-Orv-Token"] = self.token if token is True else token
        if session:
            headers["X-Orv-Session"] = session
        if content_type:
            headers["Content-Type"] = content_type
        conn = http.client.HTTPConnection(self.host, self.port, timeout=60)
        try:
            conn.request(method, path, body=body, headers=headers)
            r = conn.getresponse()
            data = r.read()
        finally:
            conn.close()
        if r.getheader("Content-Type", "").startswith("application/json"):
            data = json.loads(data)
        return r.status, data

    def session(self):
        status, answer = self.call("POST", "/api/session")
        assert status == 200, answer
        return answer["session"]

    def stop(self):
        """Ends the server as Ctrl-C would; returns its exit status."""
        self.proc.send_signal(2)
        return self.proc.wait(10)
