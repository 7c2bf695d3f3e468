#!/usr/bin/python3
"""Holds each package set of scripts/install-deps to what its make target's
configure and build use: every file under /usr that a build's CMake cache
names or its compiler read must come from a package of the set or one the
set depends on. The program alone, as `make run` builds it, must also
configure with the test-only packages hidden from CMake.
Usage: install_sets_test.py SOURCE BUILD CHECK_BUILD WEB_BUILD"""
import glob
import os
import re
import subprocess
import sys
import tempfile

# The targets that `make run` builds, in the desktop build.
PROGRAM_TARGETS = ["lsystem", "turtle", "shadow", "app", "desktop", "plant"]
HIDDEN_FROM_THE_PROGRAM = ["GTest", "X11", "Python3", "Threads"]
# The tools a build runs, as its CMake cache names them.
TOOLS = ["CMAKE_CXX_COMPILER", "CMAKE_C_COMPILER", "CMAKE_MAKE_PROGRAM", "CMAKE_TOOLCHAIN_FILE",
         "PKG_CONFIG_EXECUTABLE"]


def run(*command, **kwargs):
    return subprocess.run(command, check=True, capture_output=True, text=True, **kwargs).stdout


def set_packages(source, name):
    return run(os.path.join(source, "scripts", "install-deps"), "--list", name).split()


def closure(packages):
    """The packages and everything they depend on, with the ones a minimal
    Debian 12 has and the README's prerequisites, git and make."""
    base = [line.split()[0] for line in run("dpkg-query", "-W", "-f", "${Package} ${Priority}\\n").splitlines()
            if line.endswith(" required")]
    text = run("apt-cache", "depends", "--recurse", "--no-recommends", "--no-suggests", "--no-conflicts",
               "--no-breaks", "--no-replaces", "--no-enhances", *packages, *base, "git", "make")
    return {line.strip("<>").split(":")[0] for line in text.splitlines() if line and not line.startswith(" ")}


def tool_paths(build):
    paths = set()
    with open(os.path.join(build, "CMakeCache.txt")) as cache:
        for line in cache:
            key, _, value = line.strip().partition("=")
            if key.split(":")[0] in TOOLS and value.startswith("/usr/"):
                paths.add(value)
    return paths


def build_paths(build, targets=None):
    """The files the compiler read for the build's objects, from its .d
    files, and the libraries it linked, from its link lines."""
    paths = set()
    for target in targets or ["*"]:
        folders = os.path.join(build, "**/CMakeFiles/%s.dir" % target)
        for depfile in glob.glob(folders + "/**/*.o.d", recursive=True):
            with open(depfile) as f:
                words = f.read().replace("\\\n", " ").split(":", 1)[-1].split()
            paths.update(os.path.normpath(w) for w in words if w.startswith("/usr/"))
        for link in glob.glob(folders + "/link.txt", recursive=True):
            with open(link) as f:
                paths.update(w for w in f.read().split() if w.startswith("/usr/") and (".so" in w or w.endswith(".a")))
    return paths


def owners(paths):
    """Each path's package, found as given or through its symbolic links;
    paths that no package owns are left out."""
    def search(names):
        result = subprocess.run(["dpkg-query", "-S", *names], capture_output=True, text=True)
        found = {}
        for line in result.stdout.splitlines():
            packages, _, path = line.partition(": ")
            if path.startswith("/") and not packages.startswith("diversion"):
                found[path] = packages.split(",")[0].strip().split(":")[0]
        return found

    paths = {p for p in paths if os.path.isfile(p)}
    found = search(sorted(paths)) if paths else {}
    unowned = {os.path.realpath(p): p for p in paths if p not in found}
    for real, package in (search(sorted(unowned)) if unowned else {}).items():
        found[unowned[real]] = package
    return found


def check(source, name, paths):
    allowed = closure(set_packages(source, name))
    outside = {}
    for path, package in owners(paths).items():
        if package not in allowed:
            outside.setdefault(package, []).append(path)
    for package, provided in sorted(outside.items()):
        print("set '%s' lacks %s, which provides %s" % (name, package, ", ".join(sorted(provided)[:3])))
    print("set '%s': %d files checked, %d packages outside it" % (name, len(paths), len(outside)))
    return not outside


def program_configuration(source, scratch):
    """Configures the program as `make run` does, with the test-only packages
    hidden from CMake; the paths its cache names, or None if it fails."""
    hidden = ["-DCMAKE_DISABLE_FIND_PACKAGE_%s=ON" % p for p in HIDDEN_FROM_THE_PROGRAM]
    result = subprocess.run(["cmake", "-S", source, "-B", scratch, "-DCMAKE_BUILD_TYPE=Release", *hidden],
                            capture_output=True, text=True)
    if result.returncode != 0:
        print("the program does not configure without the test packages:\n" + result.stdout + result.stderr)
        return None
    return tool_paths(scratch)


def main(source, build, check_build, web_build):
    with tempfile.TemporaryDirectory() as scratch:
        program = program_configuration(source, scratch)
    ok = program is not None
    ok &= check(source, "run", (program or set()) | build_paths(build, PROGRAM_TARGETS))
    ok &= check(source, "e2e", tool_paths(build) | build_paths(build))
    ok &= check(source, "fuzz", tool_paths(check_build) | build_paths(check_build))
    ok &= check(source, "web", tool_paths(web_build) | build_paths(web_build))
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main(*sys.argv[1:5])
