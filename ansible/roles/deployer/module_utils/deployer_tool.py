# Runs the deployer program for the role's modules: settings as Path -> value, the working
# folder's files, and a scratch copy of a working folder for check mode.
# Copyright: 2024-2026 Deployment tools team. License: proprietary (packaging/copyright).
from __future__ import absolute_import, division, print_function

__metaclass__ = type

import contextlib
import json
import os
import shutil
import tempfile

SETTINGS_FILE = "Settings.json"
RESOURCES_FILE = "Resources.res"
# Plain progress lines without colour codes, whatever the environment says.
ENVIRONMENT = {"NO_COLOR": "1", "CLICOLOR_FORCE": "0"}


def text(value):
    """A settings value as the command line passes it: booleans as true/false."""
    if isinstance(value, bool):
        return "true" if value else "false"
    return str(value)


def failure(what, status, out, err):
    """The message of a failed run: its last line (the failure line of an action), then the
    progress lines; the error output only when there are none (wget and tar talk there)."""
    output = out if out.strip() else err
    last = output.strip().splitlines()[-1] if output.strip() else "no output"
    return "deployer %s failed with status %d: %s\n%s" % (what, status, last, output)


def lines(settings):
    return "".join("%s=%s\n" % (path, settings[path]) for path in sorted(settings))


class Deployer(object):
    def __init__(self, module, program, language="en"):
        self.module = module
        self.program = program
        self.language = language

    def skip_check_when_missing(self):
        """In check mode on a server where the package is still to be installed, nothing can be
        asked of the program: reports a change and ends the module."""
        if self.module.check_mode and not os.access(self.program, os.X_OK):
            self.module.exit_json(changed=True,
                                  msg="%s is not installed yet; nothing to compare" % self.program)

    def run(self, directory, arguments):
        """Runs the program on the folder; returns (status, stdout, stderr)."""
        command = [self.program, "-C", directory] + list(arguments)
        return self.module.run_command(command, environ_update=ENVIRONMENT)

    def check(self, directory, arguments, what):
        status, out, err = self.run(directory, arguments)
        if status != 0:
            self.module.fail_json(msg=failure(what, status, out, err), rc=status, stdout=out,
                                  stderr=err)
        return out

    def show(self, directory):
        """The settings of the folder as a dict and as the text that show printed."""
        out = self.check(directory, ["show"], "show")
        settings = {}
        for line in out.splitlines():
            path, separator, value = line.partition("=")
            if separator:
                settings[path] = value
        return settings, out

    def status(self, directory):
        """The server's own account of the folder (status --json); its exit status only says
        whether all is well, so any status with JSON on standard output is taken."""
        status, out, err = self.run(directory, ["status", "--json"])
        try:
            return json.loads(out)
        except ValueError:
            self.module.fail_json(msg=failure("status --json", status, out, err), rc=status,
                                  stdout=out, stderr=err)

    @staticmethod
    def has_settings(directory):
        return os.path.isfile(os.path.join(directory, SETTINGS_FILE))

    def set(self, directory, wanted):
        """Runs set with every wanted value; returns the lines it printed (the changes)."""
        arguments = ["set"]
        for path in sorted(wanted):
            arguments += [path, wanted[path]]
        return self.check(directory, arguments, "set").splitlines()

    @contextlib.contextmanager
    def scratch(self, directory):
        """A throw-away copy of the folder's settings and resources, or a fresh init when the
        folder has none yet, removed afterwards."""
        parent = tempfile.mkdtemp(prefix="deployer-check-")
        copy = os.path.join(parent, "work")
        try:
            if self.has_settings(directory):
                os.mkdir(copy)
                for name in (SETTINGS_FILE, RESOURCES_FILE):
                    if os.path.isfile(os.path.join(directory, name)):
                        shutil.copy(os.path.join(directory, name), copy)
            else:
                self.module.run_command(
                    [self.program, "-C", copy, "init", "--lang", self.language],
                    environ_update=ENVIRONMENT, check_rc=True)
            yield copy
        finally:
            shutil.rmtree(parent, ignore_errors=True)
