"""The first-window benchmark's own reckoning, without Wine: the peer's payload,
which window is timed, which starts count and the figures it prints."""

import contextlib
import io
import sys
import tempfile
import types
import unittest
import zlib
from pathlib import Path
from unittest import mock

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "bench"))
import first_window_wine as bench  # noqa: E402

MAP, DESTROY = 19, 17


def printed(*reports):
    output = io.StringIO()
    with contextlib.redirect_stdout(output):
        for report, times in reports:
            report(times, len(times["installer"]))
    return output.getvalue()


class FirstWindowBenchmark(unittest.TestCase):
    def test_the_peer_carries_incompressible_files_of_the_sizes_the_build_recorded(self):
        with tempfile.TemporaryDirectory() as folder:
            build = Path(folder)
            (build / bench.IMAGE_SIZES).parent.mkdir(parents=True)
            (build / bench.IMAGE_SIZES).write_text("inline constexpr std::int64_t kUninstallerImageSize = 778240;\n"
                                                   "inline constexpr std::int64_t kClientImageSize = 2188800;\n")
            bench.write_payload(build / "payload", *bench.image_sizes(build))
            client = (build / "payload" / "Client.bin").read_bytes()
            self.assertEqual(len(client), 2188800)
            self.assertEqual((build / "payload" / "Uninstaller.bin").stat().st_size, 778240)
            self.assertGreaterEqual(len(zlib.compress(client[:65536], 9)), 65536)

    def test_the_window_timed_is_the_first_managed_one_of_the_program_started(self):
        watcher = bench.MapWatcher.__new__(bench.MapWatcher)
        watcher.X = types.SimpleNamespace(MapNotify=MAP)
        watcher.owner = {"other": 7, "tooltip": 42, "frame": 42, "second": 42}.get
        events = [(1.0, types.SimpleNamespace(type=DESTROY, window="frame", override=False))]
        events += [(time, types.SimpleNamespace(type=MAP, window=window, override=window == "tooltip"))
                   for time, window in ((2.0, "other"), (3.0, "tooltip"), (4.0, "frame"), (5.0, "second"))]
        watcher.events = lambda deadline: iter(events)
        self.assertEqual(watcher.first_map(42, 5), (4.0, "frame"))
        with self.assertRaises(bench.winebench.winetest.WineError):
            watcher.first_map(8, 5)

    def test_a_start_is_timed_to_its_map_and_ended_until_its_window_is_gone(self):
        done = []
        process = types.SimpleNamespace(pid=42, kill=lambda: done.append("killed"),
                                        wait=lambda timeout: done.append("waited"))
        session = types.SimpleNamespace(start=lambda program: process)
        watcher = types.SimpleNamespace(forget_events=lambda: None, title=lambda window: "Frame",
                                        first_map=lambda pid, timeout: (bench.time.monotonic() + 0.25, "frame"),
                                        wait_destroyed=lambda window: done.append(f"{window} gone"))
        elapsed, title = bench.first_window(session, watcher, "C:\\Setup\\x.exe")
        self.assertAlmostEqual(elapsed, 250, delta=50)
        self.assertEqual((title, done), ("Frame", ["killed", "waited", "frame gone"]))

    def test_the_programs_take_turns_and_the_first_start_of_each_is_not_counted(self):
        started = []

        def first_window(session, watcher, program):
            started.append(program)
            return len(started), program

        with mock.patch.object(bench, "first_window", first_window), contextlib.redirect_stdout(io.StringIO()):
            times = bench.time_first_windows(None, None, {"a": "A", "b": "B", "c": "C"}, 2)
        self.assertEqual("".join(started), "ABCBCACAB")
        self.assertEqual(times, {"a": [6, 8], "b": [4, 9], "c": [5, 7]})

    def test_each_round_installs_silently_into_directories_of_its_own(self):
        runs = []
        with mock.patch.object(bench, "timed", lambda session, *command: runs.append(command) or 1.0):
            bench.time_silent_installs(None, "ours", "peer", "empty", 2)
        self.assertEqual(runs[-3:], [("empty",), ("ours", "/VERYSILENT", "/D=C:\\Ours1"), ("peer", "/S", "/D=C:\\Peer1")])

    def test_medians_ranges_and_ratios(self):
        text = printed((bench.report_first_windows,
                        {"installer": [470, 400, 416], "peer": [150, 170, 160], "empty": [90, 80, 82]}),
                       (bench.report_silent_installs, {"installer": [250, 260], "peer": [100, 110], "empty": [50, 60]}))
        self.assertIn("installer, welcome page     median  416.0 ms, range 400-470", text)
        self.assertIn("installer / NSIS peer     2.60", text)
        self.assertIn("installer / empty window  5.07", text)
        self.assertIn("installer 200.0 ms, NSIS peer 50.0 ms, ratio 4.00", text)


if __name__ == "__main__":
    unittest.main(verbosity=2)
