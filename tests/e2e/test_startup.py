"""Start-up, single instance, "/C" and "/U", and the exit settings."""

import os
import signal
import subprocess
import unittest

from desktop import (Desktop, Program, read_settings, run_program, settings_path,
                     wait_until, write_settings)

OTHER = "Setup\\OtherOptions"


class StartupTest(unittest.TestCase):
    def setUp(self):
        self.desktop = Desktop(tray=True)

    def tearDown(self):
        self.desktop.close()

    def visible_windows(self):
        return self.desktop.run(["xdotool", "search", "--onlyvisible", "--name", "Vistrel"]).split()

    def test_stays_resident_without_a_window_and_terminates_with_its_settings(self):
        program = Program(self.desktop).wait_resident()
        self.assertEqual(self.visible_windows(), [])
        # Its icon sits in the panel's tray.
        wait_until(lambda: '("vistrel-pro" "Vistrel-Pro")  24x24' in
                   self.desktop.run(["xwininfo", "-root", "-tree"]), what="the tray icon")
        # A fresh user: only the hotkey defaults are stored at start.
        sections = read_settings(self.desktop)
        self.assertEqual(sections["Setup\\HotKeys"]["HotKey0"], "dword:0000002c")
        self.assertNotIn("Setup\\OtherOptions", sections)
        program.signal(signal.SIGTERM)
        self.assertEqual(program.wait_ended(), 0)
        other = read_settings(self.desktop)[OTHER]
        self.assertEqual(other["TimerEnabled"], '"0"')
        self.assertEqual(other["DirectPrint"], '"0"')

    def test_exit_keeps_the_checked_states_it_read(self):
        write_settings(self.desktop,
                       'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\OtherOptions]\n'
                       '"DirectPrint"="5"\n"AutoFileName"="Shot"\n')
        program = Program(self.desktop).wait_resident()
        for number in (signal.SIGINT, signal.SIGHUP):
            with self.subTest(signal=number):
                program.signal(number)
                self.assertEqual(program.wait_ended(), 0)
                other = read_settings(self.desktop)[OTHER]
                self.assertEqual(other["DirectPrint"], '"1"')
                self.assertEqual(other["AutoFileName"], '"Shot"')
                program = Program(self.desktop).wait_resident()

    def test_close_switch_in_any_case_returns_after_the_copy_wrote_its_settings(self):
        for switch in ("/c", "/C"):
            with self.subTest(switch=switch):
                os.makedirs(os.path.dirname(settings_path(self.desktop)), exist_ok=True)
                if os.path.exists(settings_path(self.desktop)):
                    os.remove(settings_path(self.desktop))
                program = Program(self.desktop).wait_resident()
                done = run_program(self.desktop, switch)
                self.assertEqual(done.returncode, 0)
                # Read at once: the switch returns only after the exit sequence.
                self.assertIn("TimerEnabled", read_settings(self.desktop)[OTHER])
                self.assertEqual(program.wait_ended(), 0)

    def test_uninstall_switch_erases_setup_even_while_a_copy_runs(self):
        write_settings(self.desktop,
                       'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\HotKeys]\n'
                       '"Key0"=dword:0000002c\n\n'
                       '[HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\OtherOptions]\n'
                       '"Sound"="0"\n\n[HKEY_CURRENT_USER\\Software\\Other]\n"Kept"="1"\n')
        program = Program(self.desktop).wait_resident()
        done = run_program(self.desktop, "/u")
        self.assertEqual(done.returncode, 0)
        self.assertEqual(program.wait_ended(), 0)
        sections = read_settings(self.desktop)
        self.assertFalse([s for s in sections if s.startswith("Setup")])
        self.assertEqual(sections["HKEY_CURRENT_USER\\Software\\Other"], {"Kept": '"1"'})
        # Without a running copy "/U" still erases.
        write_settings(self.desktop,
                       'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\OtherOptions]\n'
                       '"Sound"="0"\n')
        self.assertEqual(run_program(self.desktop, "/U").returncode, 0)
        self.assertNotIn(OTHER, read_settings(self.desktop))

    def test_second_start_closes_the_first_after_it_wrote_its_settings(self):
        first = Program(self.desktop).wait_resident()
        second = Program(self.desktop)
        self.assertEqual(first.wait_ended(), 0)
        self.assertIn("TimerEnabled", read_settings(self.desktop)[OTHER])
        second.wait_resident()
        self.assertEqual(self.visible_windows(), [])

    def test_every_second_start_leaves_exactly_one_copy(self):
        running = Program(self.desktop).wait_resident()
        for attempt in range(10):
            with self.subTest(attempt=attempt):
                newer = Program(self.desktop)
                self.assertEqual(running.wait_ended(), 0)
                newer.wait_resident()
                # The copy that stays answers close requests: its socket
                # survived the old copy's clean-up.
                self.assertTrue(os.path.exists(newer.socket()))
                self.assertTrue(newer.running())
                running = newer
        done = run_program(self.desktop, "/C")
        self.assertEqual(done.returncode, 0)
        self.assertEqual(running.wait_ended(), 0)

    def test_copy_started_while_the_guard_is_held_ends_silently(self):
        guard = os.path.join(self.desktop.runtime, "Vistrel_pro")
        holder = self.desktop.start(["flock", "--exclusive", guard, "sleep", "60"])
        wait_until(lambda: subprocess.run(["flock", "--nonblock", guard, "true"]).returncode != 0,
                   what="the guard to be held")
        done = run_program(self.desktop)
        self.assertEqual((done.returncode, done.stdout, done.stderr), (0, "", ""))
        self.assertFalse(os.path.exists(settings_path(self.desktop)))
        holder.kill()

    def test_damaged_settings_file_is_survived_and_kept_aside(self):
        damaged = ('REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\OtherOptions]\n'
                   '"TimerEnabled"=dword:00000001\n\x01\x02 not a line\n"DirectPrint"=hex:zz\n')
        write_settings(self.desktop, damaged)
        program = Program(self.desktop).wait_resident()
        program.signal(signal.SIGTERM)
        self.assertEqual(program.wait_ended(), 0)
        other = read_settings(self.desktop)[OTHER]
        self.assertEqual(other["TimerEnabled"], '"1"')
        self.assertEqual(other["DirectPrint"], '"0"')
        with open(settings_path(self.desktop) + ".damaged", encoding="utf-8") as f:
            self.assertEqual(f.read(), damaged)

    def test_start_removes_what_killed_saves_left_in_the_save_folders(self):
        auto, save = (os.path.join(self.desktop.folder, name) for name in ("auto", "save"))
        for folder in (auto, save):
            os.makedirs(folder)
        ended = subprocess.Popen(["true"])
        ended.wait()
        def leave(folder, name):
            path = os.path.join(folder, name)
            with open(path, "wb") as f:
                f.write(b"\x89PNG half written")
            return path
        stale = [leave(auto, ".Picture0007.png.%d-0.tmp" % ended.pid),
                 leave(save, ".Holiday.jpg.%d-3.tmp" % ended.pid)]
        kept = [leave(auto, ".Picture0008.png.%d-0.tmp" % os.getpid()),  # a running saver
                leave(auto, "Picture0001.png"), leave(save, ".notes.txt.%d-0.tmp" % ended.pid)]
        write_settings(self.desktop,
                       'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Vistrel-Pro\\Final\\Setup\\OtherOptions]\n'
                       '"AutoFolder"="%s/"\n"SaveFolder"="%s"\n' % (auto, save))
        program = Program(self.desktop).wait_resident()
        self.assertEqual([p for p in stale if os.path.exists(p)], [])
        self.assertEqual([p for p in kept if not os.path.exists(p)], [])
        program.signal(signal.SIGTERM)
        self.assertEqual(program.wait_ended(), 0)


class NoDesktopTest(unittest.TestCase):
    def test_help_and_version_answer_without_starting_or_closing_anything(self):
        desktop = Desktop()
        try:
            program = Program(desktop).wait_resident()
            env = dict(desktop.env)
            env.pop("DISPLAY")  # they need no desktop either
            settings = settings_path(desktop)
            for argument, expected in (("--help", ["/C", "/U", settings]),
                                       ("--version", ["Vistrel-Pro 1.05"])):
                with self.subTest(argument=argument):
                    done = subprocess.run([os.environ.get("VISTREL_PRO", "build/vistrel-pro"),
                                           argument], env=env, capture_output=True, text=True,
                                          timeout=20)
                    self.assertEqual((done.returncode, done.stderr), (0, ""))
                    for text in expected:
                        self.assertIn(text, done.stdout)
            self.assertTrue(program.running())
            program.signal(signal.SIGTERM)
            self.assertEqual(program.wait_ended(), 0)
        finally:
            desktop.close()

    def test_without_a_display_it_says_so(self):
        desktop = Desktop()
        try:
            env = dict(desktop.env)
            env.pop("DISPLAY")
            done = subprocess.run([os.environ.get("VISTREL_PRO", "build/vistrel-pro")], env=env,
                                  capture_output=True, text=True, timeout=20)
            self.assertEqual(done.returncode, 1)
            self.assertIn("no display", done.stderr)
        finally:
            desktop.close()

    def test_without_tray_host_or_window_manager_it_stays_resident(self):
        desktop = Desktop()
        try:
            program = Program(desktop).wait_resident()
            program.signal(signal.SIGTERM)
            self.assertEqual(program.wait_ended(), 0)
        finally:
            desktop.close()


if __name__ == "__main__":
    unittest.main()
