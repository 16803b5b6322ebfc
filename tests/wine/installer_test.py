#!/usr/bin/env python3
"""The installer stub end to end under Wine: installers made with twpack build
from the sample setup program and cleanup tool, run as a user would run them.
Wine's exit codes and the files left on disk are the truth here.

    installer_test.py [unittest arguments]     (inside an X display, e.g. xvfb-run)

Configured by the environment: TW_STUB, TW_SAMPLES, TW_TWPACK, TW_WINE_PREFIX, TW_WORK.
"""
import os
import shutil
import struct
import sys
import unittest

import wine_session as ws

# Generous: the first program start of a Wine session is slow where 32-bit
# code is emulated.
RUN_TIMEOUT = int(os.environ.get("TW_WINE_RUN_TIMEOUT", "300"))
CAPTION = "Unpacking Tarnwell ...."


def config(name):
    value = os.environ.get(name)
    if not value:
        raise unittest.SkipTest(f"{name} is not set")
    return value


def complete_report(path):
    """The setup program writes its report line by line; the last line is rpara_hex."""
    with open(path, "rb") as f:
        text = f.read()
    return text.endswith(b"\n") and b"rpara_hex=" in text


class InstallerTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.stub = config("TW_STUB")
        cls.samples = config("TW_SAMPLES")
        cls.twpack = config("TW_TWPACK")
        cls.prefix = config("TW_WINE_PREFIX")
        ws.make_prefix(cls.prefix, RUN_TIMEOUT * 4)
        ws.start_session(cls.prefix)
        cls.temp = ws.temp_folder(cls.prefix)

    def setUp(self):
        self.work = os.path.join(config("TW_WORK"), self.id().rsplit(".", 1)[-1])
        shutil.rmtree(self.work, ignore_errors=True)
        os.makedirs(self.work)
        self.clear_temp()
        self.report = os.path.join(self.work, "report.txt")

    @classmethod
    def tearDownClass(cls):
        ws.end_session(cls.prefix)

    def clear_temp(self):
        for name in os.listdir(self.temp):
            if name.upper().startswith("TW"):
                path = os.path.join(self.temp, name)
                shutil.rmtree(path) if os.path.isdir(path) else os.remove(path)

    def temp_listing(self):
        """What the installers left in the temporary folder, for failure messages."""
        listing = {}
        for name in sorted(os.listdir(self.temp)):
            path = os.path.join(self.temp, name)
            listing[name] = sorted(os.listdir(path))[:5] if os.path.isdir(path) else "file"
        return listing

    # --- fixtures -------------------------------------------------------

    def payload(self, extra_files=2):
        """A payload folder: the setup program, the cleanup tool and small data files."""
        folder = os.path.join(self.work, "payload")
        os.makedirs(folder)
        shutil.copy(os.path.join(self.samples, "inst.exe"), folder)
        shutil.copy(os.path.join(self.samples, "TWDELTMP.EXE"), folder)
        for n in range(extra_files):
            with open(os.path.join(folder, f"DATA{n:02d}.BIN"), "wb") as f:
                f.write(bytes((n * 7 + i) & 0xFF for i in range(100 + 37 * n)) + b"tarnwell " * n)
        return folder

    def build(self, payload, mode, name="setup.exe"):
        installer = os.path.join(self.work, name)
        result = os.system(f"'{self.twpack}' build --stub '{self.stub}' --mode {mode} -o '{installer}' '{payload}'")
        self.assertEqual(result, 0, "twpack build failed")
        return installer

    def run_installer(self, installer, args=(), exit_code=0, hold_ms=0, release=None):
        env = dict(TW_INST_REPORT=ws.windows_path(self.report), TW_INST_EXIT=str(exit_code),
                   TW_INST_HOLD_MS=str(hold_ms))
        if release:
            env["TW_INST_RELEASE"] = ws.windows_path(release)
        return ws.WineProgram(self.prefix, installer, args, **env)

    def read_report(self, timeout=RUN_TIMEOUT):
        self.assertTrue(ws.wait_until(lambda: os.path.exists(self.report) and os.path.getsize(self.report), timeout),
                        "the setup program never reported")
        ws.wait_until(lambda: complete_report(self.report), 10)
        with open(self.report, encoding="latin-1") as f:
            return dict(line.rstrip("\n").split("=", 1) for line in f if "=" in line)

    def staging_folder(self, report):
        """The Linux path of the staging folder the setup program was started from."""
        program = report["program"]
        self.assertTrue(program.upper().endswith("\\INST.EXE"), program)
        folder_name = program.split("\\")[-2]
        self.assertTrue(folder_name.upper().startswith("TW"), program)
        return os.path.join(self.temp, folder_name)

    def assert_extracted(self, payload, staging):
        for name in sorted(os.listdir(payload)):
            with self.subTest(entry=name):
                path = os.path.join(staging, name)
                self.assertTrue(os.path.exists(path), f"{name} was not extracted")
                with open(os.path.join(payload, name), "rb") as want, open(path, "rb") as got:
                    self.assertEqual(got.read(), want.read(), f"{name} differs")

    # --- cases ----------------------------------------------------------

    def test_silent_mode_ends_with_the_setup_exit_code_and_shows_nothing(self):
        payload = self.payload()
        installer = self.build(payload, "silent")
        run = self.run_installer(installer, exit_code=3)
        seen = []
        while run.running():
            seen += ws.find_windows("Unpacking Tarnwell")
        self.assertEqual(run.wait(RUN_TIMEOUT), 3)
        self.assertEqual(seen, [], "the dialog became visible in silent mode")
        report = self.read_report()
        self.assertTrue(report["command_line"].endswith("inst.exe /SILENT"), report["command_line"])
        self.assertEqual(report["rpara_hex"], "none", "no command line, no parameter file")
        self.assert_extracted(payload, self.staging_folder(report))
        self.assertFalse(os.path.exists(os.path.join(self.temp, "TWDELTMP.EXE")), "silent mode stages no cleanup tool")

    def test_standard_mode_shows_the_dialog_and_extracts_63_entries(self):
        payload = self.payload(extra_files=61)
        installer = self.build(payload, "standard")
        run = self.run_installer(installer, exit_code=5)
        seen = []
        while run.running() and not seen:
            seen = ws.find_windows(CAPTION)
        if seen:
            ws.screenshot(os.path.join(self.work, "standard-mode.png"))
        self.assertEqual(run.wait(RUN_TIMEOUT), 0, "standard mode does not wait: exit code 0")
        self.assertTrue(seen, f"no visible window named '{CAPTION}'; the temporary folder holds {self.temp_listing()}")
        report = self.read_report()
        self.assertTrue(report["command_line"].endswith("inst.exe /STANDARD"), report["command_line"])
        staging = self.staging_folder(report)
        self.assertEqual(len(os.listdir(payload)), 63)
        self.assert_extracted(payload, staging)
        self.assertTrue(os.path.exists(os.path.join(self.temp, "TWDELTMP.EXE")), "mode 0 stages the cleanup tool")

    def test_run_mode_2_is_standard_without_the_cleanup_tool(self):
        payload = self.payload()
        installer = self.build(payload, "standard")
        with open(installer, "r+b") as f:
            f.seek(40)
            f.write(bytes([2]))
        run = self.run_installer(installer)
        self.assertEqual(run.wait(RUN_TIMEOUT), 0)
        report = self.read_report()
        self.assertTrue(report["command_line"].endswith("inst.exe /STANDARD"), report["command_line"])
        self.assert_extracted(payload, self.staging_folder(report))
        self.assertFalse(os.path.exists(os.path.join(self.temp, "TWDELTMP.EXE")))

    def test_parameter_file_holds_the_command_line_tail_byte_for_byte(self):
        installer = self.build(self.payload(), "silent")
        # Wine joins these as: setup.exe -a "b  c" /x
        run = self.run_installer(installer, args=["-a", "b  c", "/x"], exit_code=7)
        self.assertEqual(run.wait(RUN_TIMEOUT), 7)
        report = self.read_report()
        self.assertEqual(bytes.fromhex(report["rpara_hex"]), b'-a "b  c" /x')

    def test_installer_with_a_wrong_length_ends_with_130_and_stages_nothing(self):
        installer = self.build(self.payload(), "standard")
        with open(installer, "ab") as f:
            f.write(b"\0")
        run = self.run_installer(installer)
        box = ws.wait_until(lambda: ws.find_windows("Tarnwell installer"), RUN_TIMEOUT)
        self.assertTrue(box, "no corrupt-file message box")
        ws.screenshot(os.path.join(self.work, "corrupt-box.png"))
        ws.press_enter(box[0])
        self.assertEqual(run.wait(RUN_TIMEOUT), 130)
        for name in os.listdir(self.temp):
            self.assertFalse(os.path.exists(os.path.join(self.temp, name, "TWDATA.ARJ")), f"{name} holds an archive")
        self.assertFalse(os.path.exists(self.report), "no setup program may start")

    def test_second_installer_while_one_runs_says_so_and_ends_with_0(self):
        installer = self.build(self.payload(), "silent")
        release = os.path.join(self.work, "release")
        first = self.run_installer(installer, exit_code=4, hold_ms=RUN_TIMEOUT * 1000, release=release)
        self.read_report()  # the first installer now waits for its setup program
        folders_before = set(os.listdir(self.temp))
        second = ws.WineProgram(self.prefix, installer)
        box = ws.wait_until(lambda: ws.find_windows("Tarnwell Installer"), RUN_TIMEOUT)
        self.assertTrue(box, "no already-running message box")
        ws.press_enter(box[0])
        self.assertEqual(second.wait(RUN_TIMEOUT), 0)
        self.assertEqual(set(os.listdir(self.temp)), folders_before, "the second installer touched the disk")
        self.assertTrue(first.running(), "the first installer must go on undisturbed")
        open(release, "w").close()
        self.assertEqual(first.wait(RUN_TIMEOUT), 4, "the first installer ends with its setup program's code")


if __name__ == "__main__":
    unittest.main(verbosity=2)
