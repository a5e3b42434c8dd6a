# SPDX-License-Identifier: GPL-3.0-or-later
"""The packages as a school signs them: `scripts/build-windows.sh` with a code-signing
certificate of a throw-away authority, into a build folder of its own (kept, so that a later run
only packs again). Every program and DLL in the zip and the MSI carry a signature that
osslsigncode accepts against that authority, while the unsigned build's program has none; the
password shows nowhere in the build folder or its output; the signed MSI installs, starts and
is removed, and the signed zip starts, under Wine.
    signed_packages.py <source dir> <build folder> <zip> <msi> <stage> <unsigned program>
                       <publisher> <state dir>
<zip>, <msi> and <stage> are relative to the build folder."""
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from vortani_e2e import check, environment, finish, need, private_wine, ran  # noqa: E402
from msi_install import install_start_remove  # noqa: E402
from zip_contents import starts, unpack  # noqa: E402

# Quotes, a dollar and spaces: the password must reach osslsigncode untouched by any shell.
PASSWORD = "Prova firma $HOME 'scuola' \"7\""


def certificate(authority):
    """A throw-away authority and a code-signing certificate of its, as PKCS#12: its path."""
    def openssl(what, *arguments):
        ran(what, "openssl", *arguments, cwd=authority, env=environment(PASS=PASSWORD),
            fatal=True)

    openssl("a certificate authority", "req", "-x509", "-newkey", "rsa:2048", "-nodes",
            "-keyout", "ca.key", "-out", "ca.pem", "-days", "2", "-subj", "/CN=Autorita di prova",
            "-addext", "basicConstraints=critical,CA:TRUE",
            "-addext", "keyUsage=critical,keyCertSign,cRLSign")
    openssl("a request for a code-signing certificate", "req", "-newkey", "rsa:2048", "-nodes",
            "-keyout", "leaf.key", "-out", "leaf.csr", "-subj", "/CN=Scuola di prova")
    with open(os.path.join(authority, "leaf.ext"), "w") as f:
        f.write("basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\n"
                "extendedKeyUsage=codeSigning\n")
    openssl("the code-signing certificate", "x509", "-req", "-in", "leaf.csr", "-CA", "ca.pem",
            "-CAkey", "ca.key", "-CAcreateserial", "-days", "2", "-extfile", "leaf.ext",
            "-out", "leaf.pem")
    openssl("its PKCS#12 file", "pkcs12", "-export", "-inkey", "leaf.key", "-in", "leaf.pem",
            "-certfile", "ca.pem", "-passout", "env:PASS", "-out", "leaf.p12")
    return f"{authority}/leaf.p12"


def build_signed(source, build, pkcs12, state):
    """As `make windows` does, with the game alone: its tests are the unsigned build's. No time
    stamp: that needs a server on the network."""
    log = os.path.join(state, "build.log")
    with open(log, "w") as out:
        built = subprocess.run(["nice", os.path.join(source, "scripts", "build-windows.sh"), build,
                                "-DBUILD_TESTING=OFF"], stdin=subprocess.DEVNULL, stdout=out,
                               stderr=subprocess.STDOUT,
                               env=environment(VORTANI_SIGN_PKCS12=pkcs12,
                                               VORTANI_SIGN_PASSWORD=PASSWORD,
                                               CMAKE_BUILD_PARALLEL_LEVEL="2",
                                               VORTANI_SIGN_TIMESTAMP_URL=""))
    with open(log, errors="replace") as f:
        output = f.read()
    check(built.returncode == 0, f"build-windows.sh with a certificate (status {built.returncode})"
          + ("" if built.returncode == 0 else ":\n" + output[-3000:]), fatal=True)

    # The password nowhere: not in the cache, the build files or logs, nor left in a file.
    leaks = subprocess.run(["grep", "-rlF", "--", PASSWORD, build], capture_output=True,
                           text=True).stdout.split()
    check(not leaks and PASSWORD not in output,
          f"the password is in no file of the build folder nor in its output {leaks}")


def verified(path, authority):
    """osslsigncode's verdict on path against the authority: (accepted, its last lines)."""
    run = subprocess.run(["osslsigncode", "verify", "-CAfile", f"{authority}/ca.pem", "-in", path],
                         capture_output=True, text=True, stdin=subprocess.DEVNULL)
    lines = (run.stdout + run.stderr).strip().splitlines()
    return (run.returncode == 0 and "Signature verification: ok" in lines), lines[-2:]


def main(argv):
    source, build, zip_name, msi_name, stage_name, unsigned, publisher, state = argv[:8]
    source, build, unsigned, state = map(os.path.abspath, (source, build, unsigned, state))
    need("openssl", "osslsigncode", "wine")
    shutil.rmtree(state, ignore_errors=True)
    authority = os.path.join(state, "authority")
    os.makedirs(authority)
    build_signed(source, build, certificate(authority), state)
    zip_state = os.path.join(state, "zip")
    msi_state = os.path.join(state, "msi")
    with private_wine(msi_state) as env:
        os.makedirs(zip_state)
        unpacked, folder = unpack(os.path.join(build, zip_name), zip_state)
        programs = sorted(os.path.relpath(os.path.join(top, name), folder)
                          for top, _, names in os.walk(folder) for name in names
                          if name.endswith((".exe", ".dll")))
        refused = [name for name in programs
                   if not verified(os.path.join(folder, name), authority)[0]]
        check("Vortani.exe" in programs and not refused,
              f"osslsigncode accepts the signature of each of the programs and DLLs in the zip "
              f"against the authority {programs} (refused: {refused})")
        for name, path, wanted in (("the MSI", os.path.join(build, msi_name), True),
                                   ("the unsigned build's Vortani.exe", unsigned, False)):
            accepted, lines = verified(path, authority)
            check(accepted == wanted, f"osslsigncode verify {'accepts' if wanted else 'refuses'} "
                  f"{name}: {' / '.join(lines)}")

        install_start_remove(os.path.join(build, msi_name), os.path.join(build, stage_name),
                             publisher, msi_state, env)
        starts(folder, zip_state, env, "the signed Vortani.exe")
    return finish()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
