"""Starts `k7sim serve` on a free port for a test and talks JSON to it."""
import json
import subprocess
import urllib.error
import urllib.request


class CockpitServer:
    def __init__(self, k7sim, module):
        self.process = subprocess.Popen(
            [k7sim, "--module", module, "serve", "--port", "0"],
            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        line = self.process.stdout.readline()
        if "http://" not in line:
            self.process.kill()
            raise RuntimeError("k7sim serve did not start: " + line + self.process.stdout.read())
        self.url = line.split("at ", 1)[1].strip()

    def close(self):
        self.process.terminate()
        self.process.wait(timeout=10)
        self.process.stdout.close()

    def request(self, path, body=None, raw=None, method=None):
        """(status, answer): the answer parsed when JSON, else the bytes."""
        data = raw if raw is not None else (None if body is None else json.dumps(body).encode())
        req = urllib.request.Request(self.url.rstrip("/") + path, data=data, method=method,
                                     headers={"Content-Type": "application/json"})
        try:
            with urllib.request.urlopen(req, timeout=20) as r:
                status, payload, kind = r.status, r.read(), r.headers.get("Content-Type", "")
        except urllib.error.HTTPError as e:
            status, payload, kind = e.code, e.read(), e.headers.get("Content-Type", "")
        return status, (json.loads(payload) if kind.startswith("application/json") else payload)

    def get(self, path):
        return self.request(path)

    def post(self, path, body):
        return self.request(path, body)

    def state(self, name):
        status, answer = self.get("/api/state?filter=" + name)
        assert status == 200
        return {v["name"]: v["value"] for v in answer["variables"]}[name]
