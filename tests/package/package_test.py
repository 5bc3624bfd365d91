"""The Debian package as an engineer installs it: built with CPack from the build folder, then
taken apart with dpkg-deb and checked with the desktop's own tools. The programs are run from
the extracted folder, away from the build tree.

Usage: package_test.py CPACK CPACK_CONFIG WORK_FOLDER
"""

import gzip
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

CPACK, CPACK_CONFIG, WORK = sys.argv[1:4]
del sys.argv[1:4]

SHEET_TYPE = "application/x-wirelark-sheet"
ICON_SIZES = [16, 22, 24, 32, 48, 64, 128, 256]


def run(args, **kwargs):
    return subprocess.run(args, capture_output=True, text=True, timeout=120, **kwargs)


def clean_environment():
    """The environment of a user's shell: no display, no library paths into the build."""
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "WAYLAND_DISPLAY", "LD_LIBRARY_PATH", "QT_QPA_PLATFORM",
                        "QT_PLUGIN_PATH")}
    env["LC_ALL"] = "C.UTF-8"
    return env


def man_text(path):
    """The words of a manual page source, without roff escapes."""
    with gzip.open(path, "rt", encoding="utf-8") as f:
        text = f.read()
    text = text.replace("\\-", "-").replace("\\:", "").replace("\\ ", " ")
    return re.sub(r"\\f[BIRP]", "", text)


class Package(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        shutil.rmtree(WORK, ignore_errors=True)
        os.makedirs(WORK)
        built = run([CPACK, "-G", "DEB", "--config", CPACK_CONFIG, "-B", WORK])
        if built.returncode != 0:
            raise AssertionError("cpack failed:\n" + built.stdout + built.stderr)
        debs = [f for f in os.listdir(WORK) if f.endswith(".deb")]
        if len(debs) != 1:
            raise AssertionError(f"expected one .deb in {WORK}, found {debs}")
        cls.deb = os.path.join(WORK, debs[0])
        listing = run(["dpkg-deb", "-c", cls.deb]).stdout
        cls.files = {line.split()[-1].lstrip(".") for line in listing.splitlines()} - {"/"}
        cls.root = tempfile.mkdtemp(prefix="wirelark-package-")
        extracted = run(["dpkg-deb", "-x", cls.deb, cls.root])
        if extracted.returncode != 0:
            raise AssertionError("dpkg-deb -x failed: " + extracted.stderr)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.root, ignore_errors=True)

    def path(self, installed):
        return os.path.join(self.root, installed.lstrip("/"))

    def field(self, name):
        return run(["dpkg-deb", "-f", self.deb, name]).stdout.strip()

    def cli(self, *args, cwd=None):
        return run([self.path("/usr/bin/wirelark-cli"), *args], cwd=cwd or self.root,
                   env=clean_environment())

    def test_holds_what_an_installed_program_needs(self):
        cases = [
            ("/usr/bin/wirelark", "the desktop program"),
            ("/usr/bin/wirelark-cli", "the batch command"),
            ("/usr/share/applications/wirelark.desktop", "the menu entry"),
            ("/usr/share/mime/packages/wirelark.xml", "the .ksk file type"),
            ("/usr/share/icons/hicolor/scalable/apps/wirelark.svg", "the scalable icon"),
            ("/usr/share/man/man1/wirelark.1.gz", "manual of the program"),
            ("/usr/share/man/man1/wirelark-cli.1.gz", "manual of the batch command"),
            ("/usr/share/man/ja/man1/wirelark.1.gz", "Japanese manual of the program"),
            ("/usr/share/man/ja/man1/wirelark-cli.1.gz", "Japanese manual of the batch command"),
            ("/usr/share/wirelark/examples/apartment.ksk", "the example sheet"),
            ("/usr/share/doc/wirelark/copyright", "Debian's copyright file"),
            ("/usr/share/doc/wirelark/changelog.gz", "Debian's changelog"),
        ] + [(f"/usr/share/icons/hicolor/{n}x{n}/apps/wirelark.png", f"the {n} px icon")
             for n in ICON_SIZES]
        for installed, meaning in cases:
            with self.subTest(meaning):
                self.assertIn(installed, self.files)
        outside = sorted(f for f in self.files if not f.startswith("/usr/"))
        self.assertEqual(outside, [], "files outside /usr")

    def test_depends_on_what_is_loaded_by_name(self):
        depends = [d.strip().split()[0] for d in self.field("Depends").split(",")]
        cases = [
            ("fonts-ipafont-mincho", "the mincho faces of the sheet and the print"),
            ("qt6-translations-l10n", "Qt's own dialogs in Japanese"),
            ("libqt6widgets6", "a library found by dpkg-shlibdeps"),
            ("libxlsxwriter4", "the workbook writer, found by dpkg-shlibdeps"),
        ]
        for package, meaning in cases:
            with self.subTest(meaning):
                self.assertIn(package, depends)

    def test_desktop_entry_is_valid_and_points_at_what_is_installed(self):
        entry = self.path("/usr/share/applications/wirelark.desktop")
        validated = run(["desktop-file-validate", entry])
        self.assertEqual(validated.returncode, 0, validated.stdout + validated.stderr)
        fields = {}
        with open(entry, encoding="utf-8") as f:
            for line in f:
                if "=" in line:
                    key, value = line.rstrip("\n").split("=", 1)
                    fields[key] = value
        self.assertIn("/usr/bin/" + fields["Exec"].split()[0], self.files)
        self.assertIn("%f", fields["Exec"].split(), "a file from the file manager is passed on")
        self.assertIn(SHEET_TYPE, fields["MimeType"].split(";"))
        self.assertIn(f"/usr/share/icons/hicolor/scalable/apps/{fields['Icon']}.svg", self.files)

    def test_ksk_files_are_sheets_for_the_desktop(self):
        data_home = tempfile.mkdtemp(prefix="wirelark-mime-")
        mime = os.path.join(data_home, "mime")
        try:
            os.makedirs(os.path.join(mime, "packages"))
            shutil.copy(self.path("/usr/share/mime/packages/wirelark.xml"),
                        os.path.join(mime, "packages"))
            updated = run(["update-mime-database", mime],
                          env={**clean_environment(), "XDG_DATA_HOME": data_home})
            self.assertEqual(updated.returncode, 0, updated.stderr)
            self.assertEqual(updated.stderr, "", "the type file is read without complaint")
            with open(os.path.join(mime, "globs2"), encoding="utf-8") as f:
                globs = [line.strip().split(":") for line in f if not line.startswith("#")]
            self.assertIn(SHEET_TYPE, [g[1] for g in globs if g[2] == "*.ksk"])
            with open(os.path.join(mime, "application", "x-wirelark-sheet.xml"),
                      encoding="utf-8") as f:
                self.assertIn('xml:lang="ja">電路計算書ファイル<', f.read())
        finally:
            shutil.rmtree(data_home, ignore_errors=True)

    def test_icons_have_the_size_of_their_folder(self):
        for n in ICON_SIZES:
            with self.subTest(f"{n}x{n}"):
                with open(self.path(f"/usr/share/icons/hicolor/{n}x{n}/apps/wirelark.png"),
                          "rb") as f:
                    header = f.read(24)
                self.assertEqual(header[:8], b"\x89PNG\r\n\x1a\n")
                self.assertEqual(struct.unpack(">II", header[16:24]), (n, n))

    def test_manuals_document_every_option_the_help_lists(self):
        overview = self.cli("--help")
        self.assertEqual(overview.returncode, 0)
        section = overview.stdout.split("サブコマンド:\n", 1)[1].split("\n\n", 1)[0]
        subcommands = [line.split()[0] for line in section.splitlines()]
        self.assertGreaterEqual(len(subcommands), 6, overview.stdout)
        manuals = [man_text(self.path(p)) for p in ("/usr/share/man/man1/wirelark-cli.1.gz",
                                                    "/usr/share/man/ja/man1/wirelark-cli.1.gz")]
        for sub in subcommands:
            helped = self.cli(sub, "--help")
            with self.subTest(f"{sub} --help"):
                self.assertEqual(helped.returncode, 0, helped.stderr)
                self.assertEqual(helped.stderr, "")
            options = set(re.findall(r"(?<![\w-])(-o|--[a-z][a-z-]*)", helped.stdout))
            for manual, language in zip(manuals, ("English", "Japanese")):
                with self.subTest(f"{language} manual of {sub}"):
                    found = re.search(rf"^\.SS {sub} .*?(?=^\.S[SH] )", manual, re.M | re.S)
                    self.assertIsNotNone(found, f"no section for {sub}")
                    missing = [o for o in sorted(options - {"--help"})
                               if not re.search(rf"(?<![\w-]){o}(?![\w-])", found.group(0))]
                    self.assertEqual(missing, [], f"options of {sub} not described")

    def test_extracted_programs_run_without_the_build_tree(self):
        version = self.field("Version")
        cases = [
            (["wirelark-cli", "--version"], f"wirelark-cli {version}\n"),
            # The desktop program answers before it opens a window: no display is needed.
            (["wirelark", "--version"], f"wirelark {version}\n"),
        ]
        for args, expected in cases:
            with self.subTest(" ".join(args)):
                done = run([self.path("/usr/bin/" + args[0]), *args[1:]], cwd=self.root,
                           env=clean_environment())
                self.assertEqual((done.returncode, done.stdout), (0, expected), done.stderr)
        for program in ("wirelark", "wirelark-cli"):
            with self.subTest(f"{program} has no run path"):
                dynamic = run(["readelf", "-d", self.path("/usr/bin/" + program)]).stdout
                self.assertNotRegex(dynamic, r"RPATH|RUNPATH")

        example = self.path("/usr/share/wirelark/examples/apartment.ksk")
        out = os.path.join(self.root, "recalculated.ksk")
        recalc = self.cli("recalc", example, "-o", out)
        self.assertEqual(recalc.returncode, 0, recalc.stderr)
        self.assertGreater(os.path.getsize(out), 0)
        checked = self.cli("check", out)
        self.assertIn(checked.returncode, (0, 1), checked.stderr)

        # pdf and xlsx run in the output module, which the command finds in its installed folder.
        for command, suffix, magic in (("pdf", ".pdf", b"%PDF-"), ("xlsx", ".xlsx", b"PK")):
            with self.subTest(f"{command} from the installed module"):
                written = os.path.join(self.root, "example" + suffix)
                done = self.cli(command, example, "-o", written)
                self.assertEqual((done.returncode, done.stderr), (0, ""))
                with open(written, "rb") as f:
                    self.assertEqual(f.read(len(magic)), magic)

    def test_batch_command_loads_qt_and_the_workbook_library_only_for_its_outputs(self):
        modules = [f for f in self.files if f.endswith("/wirelark-cli-output.so")]
        self.assertEqual(len(modules), 1, "one output module")
        self.assertTrue(modules[0].startswith("/usr/lib/"), modules[0])
        cases = [
            ("/usr/bin/wirelark-cli", False),
            (modules[0], True),
        ]
        for installed, loads_them in cases:
            needed = re.findall(r"\(NEEDED\).*\[(.*)\]",
                                run(["readelf", "-d", self.path(installed)]).stdout)
            with self.subTest(installed):
                self.assertIn("libc.so.6", needed)
                for library in ("libQt6Gui", "libQt6Core", "libxlsxwriter"):
                    self.assertEqual(any(n.startswith(library) for n in needed), loads_them,
                                     f"{library} in {needed}")

    def test_lintian_finds_no_error(self):
        if shutil.which("lintian") is None:
            self.fail("lintian is not installed (scripts/install-deps installs it)")
        checked = run(["lintian", "--fail-on", "error", self.deb])
        self.assertEqual(checked.returncode, 0, checked.stdout + checked.stderr)


if __name__ == "__main__":
    unittest.main(verbosity=2)
