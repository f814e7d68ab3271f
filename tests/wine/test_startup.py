"""What the installer and the uninstaller do before they show anything: the
installer refuses a damaged copy of itself (exit code 4); one setup lock, taken
before the log is opened, keeps a second installer or uninstaller of any
version out (exit code 5) and lets it add its refusal to the first one's log; a
refused automatic upgrade brings the client back; a silenced run meets no box
even when something unexpected fails (exit code 3); and no library of a system
name left beside either program is loaded, beyond what the system itself loads
for their imports before any of their code runs."""

import subprocess
import threading
import time
import unittest
from pathlib import Path

import winetest
import wizard

DAMAGED = "The installer is damaged. Please download it again."
ALREADY_RUNNING = "An installation of Vorpane is already running."
UNINSTALLER_REFUSED = "Another Vorpane setup program is running. Please let it finish and start the uninstaller again."
LOCK = "Global\\Vorpane.Setup"
RESTART = '"C:\\Auto\\Vorpane.Exe" /upgraded3.31'
WS_MAXIMIZE = 0x01000000
UNINSTALL_TITLE = "Uninstall Vorpane"
# Left beside the programs under system libraries' names (the preloaded ones
# among them, see platform/PreloadedLibraries.h); Wine is told to prefer such
# files to its own.
PLANTED = [line for line in (Path(__file__).parent / "planted_libraries.txt").read_text().splitlines()
           if line and not line.startswith("#")]


def ending(lines, *tails):
    """Whether the log's last lines end with these texts."""
    return len(lines) >= len(tails) and all(line.endswith(tail) for line, tail in zip(lines[-len(tails):], tails))


class Startup(wizard.Driving, winetest.SessionTestCase):
    session_name = "startup"
    programs = {"program": "VORPANE_INSTALLER", "launcher": "VORPANE_LAUNCH"}
    commands = 0

    # --- helpers ---------------------------------------------------------------------

    def launch(self, command_line, cwd=None, wait=True):
        """Starts a raw command line through launch.exe, as a client or a script
        hands it to CreateProcess; returns the exit code, or with wait=False the
        launcher's process, whose exit code is the program's."""
        Startup.commands += 1
        name = f"command-{Startup.commands}.txt"
        (self.session.host_path("C:\\Setup") / name).write_text(command_line)
        process = self.session.start(self.launcher, "C:\\Setup\\" + name, cwd=cwd)
        self.addCleanup(self.session.stop, process)
        return self.session.wait_exit(process, 90) if wait else process

    def log(self, name):
        return self.session.host_path("C:\\" + name).read_text(errors="replace").splitlines()

    def refusal_box(self, process, text, code):
        """The box a refusing installer shows, with no wizard behind it; Return ends it."""
        session = self.session
        # Looked into only once it is up: the probe must not meet it half made.
        box = session.wait_window(wizard.MESSAGE_TITLE, process=process)
        self.assertEqual(session.wait_message_box(wizard.MESSAGE_TITLE), text)
        session.screenshot("refused-" + str(code))
        session.key(box, "Return")
        self.assertEqual(session.wait_exit(process), code)

    def probe(self, *args):
        return self.session.run(self.session._winprobe(), *args)

    def lock_exists(self):
        return self.probe("mutex", LOCK)[0] == 0

    def copy_of_installer(self, folder, change):
        """A copy of the installer in a folder of its own, changed by change(bytes)."""
        data = bytearray(Path(winetest.required_env("VORPANE_INSTALLER")).read_bytes())
        change(data)
        target = self.session.host_path(folder)
        target.mkdir(parents=True, exist_ok=True)
        (target / "Install_Vorpane.exe").write_bytes(data)
        return folder + "\\Install_Vorpane.exe"

    def damaged_copy(self):
        def damage(data):
            image = wizard.embedded_image(winetest.required_env("VORPANE_STANDIN_CLIENT"), wizard.CLIENT_IMAGE_SIZE)
            offset = data.find(image)
            self.assertGreater(offset, 0, "the client image is not in the program")
            data[offset + len(image) - 1] ^= 0x01  # the last byte of its padding
        return self.copy_of_installer("C:\\Damaged", damage)

    def other_version(self):
        """The installer as another version would be: its version texts outside
        the embedded images read 3.99, the images stay intact."""
        def patch(data):
            uninstaller = wizard.embedded_image(winetest.required_env("VORPANE_UNINSTALLER_IMAGE"),
                                                wizard.UNINSTALLER_IMAGE_SIZE)
            start = data.find(uninstaller)
            self.assertGreater(start, 0, "the uninstaller image is not in the program")
            end = start + wizard.UNINSTALLER_IMAGE_SIZE + wizard.CLIENT_IMAGE_SIZE  # the client follows it
            patched, at = 0, data.find(b"3.31")
            while at >= 0:
                if not start <= at < end:
                    data[at:at + 4] = b"3.99"
                    patched += 1
                at = data.find(b"3.31", at + 1)
            self.assertGreater(patched, 0)
        return self.copy_of_installer("C:\\Other Version", patch)

    def own_uninstaller(self):
        if not winetest.required_env("VORPANE_OWN_UNINSTALLER") == "1":
            self.skipTest("the build embeds another uninstaller")

    def install(self, directory):
        self.assertEqual(self.launch(f'"{self.program}" /VERYSILENT /D={directory}'), 0)

    def client_starts(self):
        record = self.session.host_path("C:\\Auto\\Vorpane.cmdline.txt")
        return record.read_text().splitlines() if record.exists() else []

    def wait_client_starts(self, count, timeout=20):
        deadline = time.monotonic() + timeout
        while len(self.client_starts()) < count and time.monotonic() < deadline:
            time.sleep(0.2)
        return self.client_starts()

    def watch_for_windows(self):
        """Collects any window of the installer's titles until the returned stop() is called."""
        seen, stopping = [], threading.Event()

        def watch():
            while not stopping.is_set():
                for title in (wizard.CAPTION, wizard.MESSAGE_TITLE, UNINSTALL_TITLE):
                    seen.extend(self.session.find_windows(title))
                time.sleep(0.1)

        watcher = threading.Thread(target=watch)
        watcher.start()

        def stop():
            stopping.set()
            watcher.join()
            return seen
        return stop

    def overriding_libraries(self, overrides):
        """Wine loads libraries as the overrides say ("name,name=n,b") until the test ends."""
        session = self.session
        plain_env = session.env
        session.env = lambda: {**plain_env(), "WINEDLLOVERRIDES": plain_env()["WINEDLLOVERRIDES"] + ";" + overrides}
        self.addCleanup(setattr, session, "env", plain_env)

    # --- refusals -------------------------------------------------------------------

    def test_a_copy_with_one_byte_changed_in_an_image_refuses_to_run(self):
        session = self.session
        damaged = self.damaged_copy()
        self.assertEqual(self.launch(f'"{damaged}" /VERYSILENT /LOG="C:\\damaged.log" /D=C:\\Never'), 4)
        log = self.log("damaged.log")
        self.assertIn("Damaged: the image of Vorpane.Exe differs from the one built", log[1])
        self.assertTrue(ending(log, DAMAGED, "Exit code 4"), log)
        self.assertFalse(session.host_path("C:\\Never").exists())

        process = session.start(damaged)
        self.addCleanup(session.stop, process)
        self.refusal_box(process, DAMAGED, 4)
        self.assertEqual(session.find_windows(wizard.ANY_CAPTION), [])

    def test_images_of_sizes_no_alignment_divides_pass_the_self_check(self):
        winetest.run_check_program(self, self.session, "VORPANE_ANY_SIZE_IMAGES_CHECK")

    def test_a_second_setup_program_refuses_while_one_runs_and_adds_to_its_log(self):
        session = self.session
        first = self.launch(f'"{self.program}" /LOG="C:\\first.log"', wait=False)
        session.wait_window(wizard.CAPTION, process=first)
        facts = session.window_facts(wizard.CAPTION)
        self.assertTrue(self.lock_exists(), f"no mutex {LOCK} while the wizard runs")

        self.assertEqual(self.launch(f'"{self.program}" /VERYSILENT /LOG="C:\\first.log" /D=C:\\Second'), 5)
        self.assertFalse(session.host_path("C:\\Second").exists())
        log = self.log("first.log")
        self.assertIn("arguments: [/LOG=C:\\first.log]", log[0])
        self.assertIn("arguments: [/VERYSILENT] [/LOG=C:\\first.log] [/D=C:\\Second]", log[1])
        self.assertTrue(ending(log, ALREADY_RUNNING, "Exit code 5"), log)

        if winetest.required_env("VORPANE_OWN_UNINSTALLER") == "1":
            uninstaller = session.copy_in(winetest.required_env("VORPANE_UNINSTALLER_IMAGE"), "C:\\Spare")
            self.assertEqual(self.launch(f'"{uninstaller}" /S /LOG="C:\\first.log"'), 5)
            log = self.log("first.log")
            self.assertIn("arguments: [/LOG=C:\\first.log]", log[0], "the uninstaller emptied the log")
            self.assertTrue(ending(log, UNINSTALLER_REFUSED, "Exit code 5"), log)

        second = session.start(self.program)
        self.addCleanup(session.stop, second)
        self.refusal_box(second, ALREADY_RUNNING, 5)
        self.assertEqual(len(session.find_windows(wizard.CAPTION)), 1, "only the first installer's window")
        session.click_client(facts, *wizard.EXIT_BUTTON)
        self.assertEqual(session.wait_exit(first), 0)
        self.assertFalse(self.lock_exists(), "the lock outlives the installer")

    def test_an_uninstaller_at_its_question_keeps_an_installer_of_another_version_out(self):
        self.own_uninstaller()
        session = self.session
        self.install("C:\\Removal")
        remover = self.launch('"C:\\Removal\\Uninstall_Vorpane.Exe"', wait=False)
        box = session.wait_window(UNINSTALL_TITLE, process=remover)
        self.assertEqual(session.wait_message_box(UNINSTALL_TITLE), "Remove Vorpane 3.31 from C:\\Removal?")

        other = self.other_version()
        self.assertEqual(self.launch(f'"{other}" /VERYSILENT /LOG="C:\\other.log" /D=C:\\Other Place'), 5)
        log = self.log("other.log")
        self.assertIn("Install_Vorpane 3.99, arguments:", log[0])
        self.assertTrue(ending(log, ALREADY_RUNNING, "Exit code 5"), log)
        self.assertFalse(session.host_path("C:\\Other Place").exists())

        session.key(box, "alt+n")
        self.assertEqual(session.wait_exit(remover), 2)
        self.assertTrue(session.host_path("C:\\Removal\\Vorpane.Exe").exists())
        # Its lock went with it: the other version now runs.
        self.assertEqual(self.launch(f'"{other}" /VERYSILENT /D=C:\\Other Place'), 0)

    def test_a_refused_automatic_upgrade_brings_the_client_back_unless_another_setup_runs(self):
        session = self.session
        folder = session.host_path("C:\\Auto")
        folder.mkdir(parents=True, exist_ok=True)
        (folder / "Vorpane.Exe").write_bytes(Path(winetest.required_env("VORPANE_STANDIN_CLIENT")).read_bytes())

        # Another setup program at work: it brings the client back itself.
        first, _, facts = self.start_installer()
        refused = self.launch(f'"{self.program}" /autoupdate C:\\Auto', wait=False)
        self.refusal_box(refused, ALREADY_RUNNING, 5)
        session.click_client(facts, *wizard.EXIT_BUTTON)
        self.assertEqual(session.wait_exit(first), 0)
        time.sleep(2)
        self.assertEqual(self.client_starts(), [])

        # A damaged copy, with a desktop shell to start the client as the desktop user.
        shell = session.start(session.copy_in(winetest.required_env("VORPANE_DESKTOP_SHELL")))
        self.addCleanup(session.stop, shell)
        session.wait_window("Test desktop shell", process=shell)
        damaged = self.launch(f'"{self.damaged_copy()}" /LOG="C:\\auto.log" /autoupdate C:\\Auto', wait=False)
        self.refusal_box(damaged, DAMAGED, 4)
        self.assertEqual(self.wait_client_starts(1), [RESTART])
        self.assertEqual(self.probe("parent", "Vorpane.Exe")[1].strip(), "parent desktop_shell.exe")
        self.assertTrue(session.window_facts("Vorpane").style & WS_MAXIMIZE, "the client is not maximised")
        log = self.log("auto.log")
        self.assertTrue(ending(log, "Started the client as the desktop user, through the desktop shell: " + RESTART,
                               "Exit code 4"), log)
        session.stop(shell)

        # A log that cannot be written (a file where its folder would be made), and
        # no desktop shell: started directly.
        bad = self.launch(f'"{self.program}" /LOG=C:\\Auto\\Vorpane.Exe\\auto.log /autoupdate C:\\Auto', wait=False)
        self.refusal_box(bad, "The log C:\\Auto\\Vorpane.Exe\\auto.log cannot be written: "
                              "Could not create directory C:\\Auto\\Vorpane.Exe\\", 1)
        self.assertEqual(self.wait_client_starts(2), [RESTART, RESTART])

    def test_in_silence_no_box_shows_and_an_unexpected_error_ends_with_three(self):
        session = self.session
        stop = self.watch_for_windows()
        try:
            helped = self.launch(f'"{self.program}" /S /LOG="C:\\help.log" /?')
            # Without the system's SHA-256 the self-check cannot run: nothing in
            # the program expects that.
            self.overriding_libraries("bcrypt=d")
            very = self.launch(f'"{self.program}" /VERYSILENT /LOG="C:\\unexpected.log" /D=C:\\Never')
            silent = self.launch(f'"{self.program}" /SILENT /SUPPRESSMSGBOXES /LOG="C:\\suppressed.log" /D=C:\\Never')
        finally:
            seen = stop()
        self.assertEqual((helped, very, silent), (0, 3, 3))
        self.assertEqual(seen, [])
        self.assertTrue(ending(self.log("help.log"), "5: another installation of Vorpane is already running",
                               "Exit code 0"), self.log("help.log"))
        for name in ("unexpected.log", "suppressed.log"):
            log = self.log(name)
            self.assertTrue(ending(log, "Failed: The system library bcrypt.dll cannot be loaded (error 126)",
                                   "Exit code 3"), log)
        self.assertFalse(session.host_path("C:\\Never").exists())

    # --- libraries left beside the programs ------------------------------------------

    def imports(self, program):
        output = subprocess.run([winetest.required_env("VORPANE_OBJDUMP"), "-p", program], capture_output=True,
                                text=True, check=True).stdout
        return {line.split(":", 1)[1].strip().lower() for line in output.splitlines() if "DLL Name:" in line}

    def test_libraries_left_beside_the_programs_load_no_more_than_their_imports_do(self):
        session = self.session
        baseline = winetest.required_env("VORPANE_IMPORT_BASELINE")
        installer_imports = self.imports(winetest.required_env("VORPANE_INSTALLER"))
        self.assertEqual(self.imports(baseline), installer_imports)
        library = Path(winetest.required_env("VORPANE_PLANTED_LIBRARY")).read_bytes()
        code, output = session.run("cmd", "/c", "echo %TEMP%")
        temporary = output.strip()
        folders = {"C:\\Downloads": session.host_path("C:\\Downloads"), "C:\\Planted": session.host_path("C:\\Planted"),
                   temporary: session.host_path(temporary)}
        for folder in folders.values():
            folder.mkdir(parents=True, exist_ok=True)
            for name in PLANTED:
                (folder / name).write_bytes(library)
        # Wine prefers files beside a program to its own for these names.
        self.overriding_libraries(",".join(Path(name).stem for name in PLANTED) + "=n,b")

        def loaded(folder):
            markers = sorted(path.name[:-len(".loaded")] for path in folders[folder].glob("*.loaded"))
            for path in folders[folder].glob("*.loaded"):
                path.unlink()
            return markers

        baseline_copy = session.copy_in(baseline, "C:\\Downloads")
        self.assertEqual(self.launch(f'"{baseline_copy}"', cwd="C:\\Downloads"), 0)
        loaded_by_imports = loaded("C:\\Downloads")
        winetest.log(f"loaded for the imports alone: {', '.join(loaded_by_imports) or 'none'}")
        # Those are loaded before any code of the program runs, and a library
        # without the system's functions in their place breaks the system's
        # own libraries; the programs are held to the others.
        for folder in folders.values():
            for name in loaded_by_imports:
                (folder / name).unlink()

        program = session.copy_in(winetest.required_env("VORPANE_INSTALLER"), "C:\\Downloads")
        process = session.start(program)
        self.addCleanup(session.stop, process)
        session.wait_window(wizard.CAPTION, process=process)
        self.wait_for_texts("&Next")
        facts = session.window_facts(wizard.CAPTION)
        session.click_client(facts, *wizard.EXIT_BUTTON)
        self.assertEqual(session.wait_exit(process), 0)
        self.assertEqual(self.launch(f'"{program}" /VERYSILENT /D=C:\\Planted', cwd="C:\\Downloads"), 0)
        self.assertTrue(session.host_path("C:\\Planted\\Vorpane.Exe").exists())
        self.assertEqual(loaded("C:\\Downloads"), [])

        if winetest.required_env("VORPANE_OWN_UNINSTALLER") != "1":
            return
        self.assertLessEqual(self.imports(winetest.required_env("VORPANE_UNINSTALLER_IMAGE")), installer_imports)
        # Its copy runs from the temporary folder once it has ended.
        self.assertEqual(self.launch('"C:\\Planted\\Uninstall_Vorpane.Exe" /S', cwd="C:\\Planted"), 0)
        deadline = time.monotonic() + 20
        while (folders["C:\\Planted"] / "Uninstall_Vorpane.Exe").exists() and time.monotonic() < deadline:
            time.sleep(0.2)
        self.assertFalse((folders["C:\\Planted"] / "Uninstall_Vorpane.Exe").exists(), "the copy did not finish")
        self.assertEqual(loaded("C:\\Planted"), [])
        self.assertEqual(loaded(temporary), [])


if __name__ == "__main__":
    unittest.main(verbosity=2)
