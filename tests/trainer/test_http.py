"""Every endpoint of `k7sim serve` refuses bad input with a 4xx answer and a message, and the
cockpit is left exactly as it was (compared through its saved scenario, taken while paused)."""
import json
import sys
import time
import unittest

from cockpit_server import CockpitServer

K7SIM, MODULE = sys.argv[1], sys.argv[2]
HUGE = b'{"name": "' + b"x" * 300000 + b'", "value": 1}'

# (method, path, body or raw bytes, expected status)
BAD = [
    ("GET", "/api/bitmap/abc", None, 400),
    ("GET", "/api/bitmap/99999999", None, 404),
    ("GET", "/api/bitmap/1?transparent=2", None, 400),
    ("GET", "/api/sound/NO_SUCH_SOUND", None, 404),
    ("GET", "/api/frame?sound=-1", None, 400),
    ("GET", "/api/frame?tokens=70000", None, 400),
    ("GET", "/api/frame?tokens=60,x", None, 400),
    ("GET", "/api/nothing/here", None, 404),
    ("POST", "/api/state", b"not json", 400),
    ("POST", "/api/state", b"[1, 2]", 400),
    ("POST", "/api/state", HUGE, 413),
    ("POST", "/api/state", {"name": "no_such_variable", "value": 1}, 404),
    ("POST", "/api/state", {"name": "elec_master_sw[5]", "value": 1}, 404),
    ("POST", "/api/state", {"name": "elec_master_sw", "value": 3}, 400),
    ("POST", "/api/state", {"name": "elec_master_sw", "value": "2"}, 400),
    ("POST", "/api/state", {"name": "elec_master_sw"}, 400),
    ("POST", "/api/token", {"id": 70000, "value": 1}, 400),
    ("POST", "/api/token", {"id": 60.5, "value": 1}, 400),
    ("POST", "/api/token", {"id": 60, "value": "NaN"}, 400),
    ("POST", "/api/window", {"ident": 12345, "action": "open"}, 404),
    ("POST", "/api/window", {"ident": 0, "action": "close"}, 404),
    ("POST", "/api/window", {"ident": 10080, "action": "explode"}, 400),
    ("POST", "/api/click", {"window": 10080, "x": 400, "y": 290}, 409),
    ("POST", "/api/click", {"window": 99, "x": 1, "y": 1}, 404),
    ("POST", "/api/click", {"window": 0, "x": "a", "y": 1}, 400),
    ("POST", "/api/click", {"window": 0, "x": 1, "y": 1, "button": "thumb"}, 400),
    ("POST", "/api/run", {"speed": 3}, 400),
    ("POST", "/api/run", {"step": 0}, 400),
    ("POST", "/api/run", {"pause": "yes"}, 400),
    ("POST", "/api/run", {}, 400),
    ("POST", "/api/scenario", {"text": "frobnicate 1"}, 400),
    ("POST", "/api/scenario", {"text": "render 0 /tmp/k7_trainer_should_not_exist.png"}, 400),
    ("POST", "/api/scenario", {"text": "expect state no_such_variable == 1"}, 400),
    ("POST", "/api/scenario", {"text": 'click "no such gauge" 1 1'}, 400),
    ("POST", "/api/scenario", {"text": "open 12345"}, 400),
    ("POST", "/api/scenario", {"text": "seconds 1\nexpect state elec_master_sw =< 2"}, 400),
    ("POST", "/api/scenario", {"text": 5}, 400),
    ("POST", "/api/scenario/step", {}, 409),
    ("POST", "/api/scenario/run", {"run": True}, 409),
]


def saved(server):
    status, text = server.get("/api/save")
    assert status == 200
    return text.split(b"\n", 1)[1]  # without the line that names the time


class BadInput(unittest.TestCase):
    def setUp(self):
        self.server = CockpitServer(K7SIM, MODULE)
        status, _ = self.server.post("/api/run", {"pause": True})
        assert status == 200

    def tearDown(self):
        self.server.close()

    def test_refused_and_nothing_changed(self):
        before = saved(self.server)
        for method, path, body, expected in BAD:
            with self.subTest(method=method, path=path, body=str(body)[:80]):
                raw = body if isinstance(body, bytes) else None
                status, answer = self.server.request(
                    path, None if raw is not None or method == "GET" else body, raw=raw,
                    method=method)
                self.assertEqual(status, expected, answer)
                self.assertIsInstance(answer, dict)
                self.assertTrue(answer.get("error"), answer)
                self.assertEqual(saved(self.server), before, "the cockpit changed")
        self.assertIsNone(self.server.process.poll(), "the server stopped")

    def test_two_pages_follow_one_cockpit(self):
        import urllib.request
        self.assertEqual(self.server.post("/api/state", {"name": "elec_master_sw", "value": 1})[0],
                         200)
        frames = []
        streams = [urllib.request.urlopen(self.server.url + "api/stream", timeout=10)
                   for _ in range(2)]
        for s in streams:
            line = s.readline()
            while not line.startswith(b"data: "):
                line = s.readline()
            frames.append(json.loads(line[6:]))
            s.close()
        self.assertEqual(frames[0]["frame"], frames[1]["frame"])
        self.assertEqual(frames[0]["windows"], frames[1]["windows"])
        self.assertEqual(self.server.state("elec_master_sw"), 1)

    def test_good_requests_change_what_they_say(self):
        server = self.server
        self.assertEqual(server.post("/api/window", {"ident": 10080, "action": "open"})[0], 200)
        status, answer = server.post("/api/click", {"window": 10080, "x": 324 + 57, "y": 292})
        self.assertEqual((status, answer["gauge"], answer["taken"]),
                         (200, "kestovil elec_mas_sw_k7", True))
        self.assertEqual(server.state("elec_master_sw"), 0)
        status, wav = server.get("/api/sound/CLICK")  # the switch's click, as the page plays it
        self.assertEqual((status, wav[:4], wav[8:12]), (200, b"RIFF", b"WAVE"))
        self.assertEqual(server.post("/api/state", {"name": "elec_master_sw", "value": 2})[0], 200)
        self.assertEqual(server.state("elec_master_sw"), 2)
        # a saved cockpit, loaded into a fresh one, rebuilds it
        text = saved(self.server).decode()
        status, _ = server.post("/api/scenario", {"text": text + "expect window 10080 open\n"
                                                  "expect state elec_master_sw == 2\n"})
        self.assertEqual(status, 200)
        self.assertEqual(server.post("/api/run", {"pause": False})[0], 200)
        self.assertEqual(server.post("/api/scenario/run", {"run": True})[0], 200)
        for _ in range(100):
            status, s = server.get("/api/scenario")
            if s["finished"]:
                break
            time.sleep(0.1)
        self.assertTrue(s["finished"])
        self.assertEqual((s["expectations"], s["failures"], s["errors"]), (2, 0, 0))
        self.assertEqual(server.post("/api/run", {"pause": True})[0], 200)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
