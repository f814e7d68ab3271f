"""The release as scripts/release.sh makes it from the commit checked out, built
three times in other folders: without a certificate; signed with a throwaway
self-signed code-signing certificate (PEM files); and rebuilt around the
signed release's uninstaller, as anyone reproducing it does, signed with the
same certificate in a PKCS#12 file with a password. The builds give the same
programs before signing; the signed ones verify against the certificate, the
uninstaller also as a silent install writes it under Wine; and removing the
signatures gives back the bytes that were signed."""

import hashlib
import os
import shutil
import subprocess
import sys
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "wine"))
import winetest  # noqa: E402

PROGRAMS = ("Install_Vorpane.exe", "Uninstall_Vorpane.Exe")
DESCRIPTION = "Vorpane 3.31"
WEB_ADDRESS = "http://www.vorpane.net"
SIGNING_VARIABLES = ("VORPANE_SIGN_CERT", "VORPANE_SIGN_KEY", "VORPANE_SIGN_PKCS12", "VORPANE_SIGN_PASS",
                     "VORPANE_SIGN_TIMESTAMP_URL", "VORPANE_RELEASE_UNINSTALLER", "VORPANE_CLIENT_IMAGE",
                     "SOURCE_DATE_EPOCH")


PASSWORD = "two words"


def make_certificate(folder):
    """A self-signed certificate for code signing and its key, valid for a day,
    as PEM files and as one PKCS#12 file under PASSWORD."""
    key, certificate, both = folder / "key.pem", folder / "certificate.pem", folder / "signer.p12"
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1",
                    "-subj", "/CN=Vorpane release check", "-keyout", str(key), "-out", str(certificate),
                    "-addext", "extendedKeyUsage=codeSigning", "-addext", "keyUsage=critical,digitalSignature"],
                   check=True, capture_output=True)
    subprocess.run(["openssl", "pkcs12", "-export", "-in", str(certificate), "-inkey", str(key), "-out", str(both),
                    "-passout", f"pass:{PASSWORD}"], check=True, capture_output=True)
    return certificate, key, both


def release(source, folder, log, **variables):
    """Runs scripts/release.sh with its artefacts in folder; returns its output."""
    env = {name: value for name, value in os.environ.items() if name not in SIGNING_VARIABLES}
    env.update(variables, VORPANE_RELEASE_DIR=str(folder))
    result = subprocess.run(["bash", str(source / "scripts" / "release.sh")], env=env, cwd=source,
                            stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=600)
    log.write_text(result.stdout + result.stderr)
    if result.returncode != 0:
        raise AssertionError(f"release.sh ended with {result.returncode}:\n{result.stdout}{result.stderr}")
    return result.stdout


def osslsigncode(*args):
    return subprocess.run(["osslsigncode", *map(str, args)], capture_output=True, text=True)


class Release(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        source = Path(winetest.required_env("VORPANE_SOURCE"))
        cls.check = Path(winetest.required_env("VORPANE_RELEASE_CHECK"))
        shutil.rmtree(cls.check, ignore_errors=True)
        cls.check.mkdir(parents=True)
        cls.certificate, key, both = make_certificate(cls.check)
        cls.unsigned = cls.check / "first" / "release"
        # The other folders are deeper and hold a blank, as folders on Windows do.
        cls.signed = cls.check / "second" / "a deeper folder" / "release"
        cls.rebuilt = cls.check / "third" / "yet another" / "release"
        winetest.log("building the release unsigned")
        cls.unsigned_output = release(source, cls.unsigned, cls.check / "unsigned.log")
        winetest.log("building the release signed")
        cls.signed_output = release(source, cls.signed, cls.check / "signed.log",
                                    VORPANE_SIGN_CERT=str(cls.certificate), VORPANE_SIGN_KEY=str(key))
        winetest.log("building the installer again around the signed uninstaller")
        release(source, cls.rebuilt, cls.check / "rebuilt.log",
                VORPANE_RELEASE_UNINSTALLER=str(cls.signed / "Uninstall_Vorpane.Exe"),
                VORPANE_SIGN_PKCS12=str(both), VORPANE_SIGN_PASS=PASSWORD)
        cls.signed_work = cls.signed.with_name("release-work")
        cls.rebuilt_work = cls.rebuilt.with_name("release-work")

    def test_builds_in_different_folders_give_the_same_programs(self):
        for name in PROGRAMS:
            for work in (self.signed_work, self.rebuilt_work):
                with self.subTest(name, folder=work):
                    self.assertEqual((self.unsigned / name).read_bytes(), (work / "unsigned" / name).read_bytes())

    def test_a_signed_installer_is_rebuilt_around_the_uninstaller_it_embeds(self):
        self.assertEqual((self.rebuilt / "Uninstall_Vorpane.Exe").read_bytes(),
                         (self.signed / "Uninstall_Vorpane.Exe").read_bytes())
        self.assertEqual((self.rebuilt_work / "embedding" / "Install_Vorpane.exe").read_bytes(),
                         (self.signed_work / "embedding" / "Install_Vorpane.exe").read_bytes())
        self.assert_signed(self.rebuilt / "Install_Vorpane.exe")  # through the PKCS#12 file and its password

    def test_an_unsigned_release_says_so_and_its_sums_match_its_files(self):
        self.assertIn("NOT SIGNED", self.unsigned_output)
        self.assertNotIn("NOT SIGNED", self.signed_output)
        for folder in (self.unsigned, self.signed):
            sums = (folder / "SHA256SUMS").read_text().splitlines()
            self.assertEqual(sums, [f"{hashlib.sha256((folder / name).read_bytes()).hexdigest()}  {name}"
                                    for name in PROGRAMS])
        for name in PROGRAMS:
            self.assertNotEqual(osslsigncode("verify", "-CAfile", self.certificate,
                                             "-in", self.unsigned / name).returncode, 0, name)

    def assert_signed(self, program):
        result = osslsigncode("verify", "-CAfile", self.certificate, "-in", program)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertRegex(result.stdout, r"Message digest algorithm\s*:\s*SHA256")
        self.assertIn(f"Text description: {DESCRIPTION}", result.stdout)
        self.assertIn(f"URL description: {WEB_ADDRESS}", result.stdout)
        self.assertIn("Vorpane release check", result.stdout)  # the signer

    def test_both_programs_are_signed_and_verify_against_the_certificate(self):
        for name in PROGRAMS:
            with self.subTest(name):
                self.assert_signed(self.signed / name)

    def test_removing_the_signatures_gives_back_the_bytes_signed(self):
        # The uninstaller was signed as the unsigned release has it; the
        # installer was signed as built around the signed uninstaller.
        cases = {"Uninstall_Vorpane.Exe": self.unsigned / "Uninstall_Vorpane.Exe",
                 "Install_Vorpane.exe": self.signed_work / "embedding" / "Install_Vorpane.exe"}
        for name, built in cases.items():
            with self.subTest(name):
                stripped = self.check / f"stripped-{name}"
                result = osslsigncode("remove-signature", "-in", self.signed / name, "-out", stripped)
                self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
                self.assertEqual(stripped.read_bytes(), built.read_bytes())

    def test_a_silent_install_writes_the_signed_uninstaller(self):
        with winetest.WineSession("release") as session:
            installer = session.copy_in(self.signed / "Install_Vorpane.exe")
            code, output = session.run(installer, "/VERYSILENT", "/LOG=C:\\release.log", "/DIR=C:\\Released",
                                       timeout=120)
            log = session.host_path("C:\\release.log")
            self.assertEqual(code, 0, log.read_text(errors="replace") if log.exists() else output)
            installed = session.host_path("C:\\Released") / "Uninstall_Vorpane.Exe"
            self.assertEqual(installed.read_bytes(), (self.signed / "Uninstall_Vorpane.Exe").read_bytes())
            self.assert_signed(installed)


if __name__ == "__main__":
    unittest.main(verbosity=2)
