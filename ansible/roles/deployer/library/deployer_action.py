#!/usr/bin/python3
# Runs one deployer action unless a previous run recorded it as done on the same settings.
from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
module: deployer_action
short_description: Runs a deployer action once per settings
description:
  - Runs C(deploy), C(update), C(delete) or C(migrate) on a working folder, with C(--yes) where
    the action removes an installation.
  - The action is skipped when the state file records that the same action with the same
    arguments last succeeded on settings identical to the current ones (compared as the output
    of C(deployer show)). The state file is removed before the action runs and written again
    only after it succeeded, so a failed or interrupted action runs again next time.
  - In check mode runs the action with C(--dry-run) on a scratch copy of the folder with the
    wanted settings applied, and returns the command lines it printed as C(commands).
options:
  program: {description: The deployer program., type: path, required: true}
  directory: {description: The working folder., type: path, required: true}
  action:
    description: The action.
    type: str
    required: true
    choices: [deploy, update, delete, migrate]
  runtime: {description: Deploy installs the container runtime., type: bool}
  web_server: {description: Deploy installs the web server., type: bool}
  ignore_certs: {description: Downloads skip the certificate checks., type: bool}
  migrate_file:
    description: The other installation's settings file for migrate (relative to directory).
    type: path
  delete_source: {description: Migrate removes the other installation., type: bool}
  state_file:
    description: Where the last successful action is recorded.
    type: path
    required: true
  settings: {description: The wanted settings (used by check mode)., type: dict}
  settings_changed: {description: The settings were changed in this run., type: bool}
  language: {description: Language of a new folder's texts in check mode., type: str}
"""

import json
import os

from ansible.module_utils.basic import AnsibleModule
from ansible.module_utils.deployer_tool import Deployer, digest, text


def action_arguments(params):
    """The action and its options, without --yes and --dry-run."""
    action = params["action"]
    arguments = [action]
    if action == "deploy":
        arguments += [] if params["runtime"] else ["--no-runtime"]
        arguments += [] if params["web_server"] else ["--no-web-server"]
        arguments += ["--ignore-certs"] if params["ignore_certs"] else []
    if action == "migrate":
        if not params["migrate_file"]:
            raise ValueError("migrate needs migrate_file")
        # A relative file is taken from the working folder, as deployer -C does, also when check
        # mode runs on a scratch copy of it.
        arguments += [os.path.join(params["directory"], params["migrate_file"])]
        arguments += ["--delete-source"] if params["delete_source"] else []
    return arguments


def confirmation(arguments):
    return ["--yes"] if arguments[0] == "delete" or "--delete-source" in arguments else []


def recorded(path):
    try:
        with open(path) as state:
            return json.load(state)
    except (IOError, OSError, ValueError):
        return None


def record(path, state):
    temporary = path + ".new"
    with open(temporary, "w") as out:
        json.dump(state, out, indent=2, sort_keys=True)
        out.write("\n")
    os.rename(temporary, path)


def done(tool, params, arguments):
    state = recorded(params["state_file"])
    if params["settings_changed"] or state is None or not tool.has_settings(params["directory"]):
        return None
    if state.get("arguments") != arguments:
        return None
    if state.get("settings_sha256") != tool.fingerprint(params["directory"]):
        return None
    return state


def dry_run(module, tool, arguments):
    params = module.params
    wanted = dict((path, text(value)) for path, value in params["settings"].items())
    with tool.scratch(params["directory"]) as copy:
        if wanted:
            tool.set(copy, wanted)
        out = tool.check(copy, arguments + confirmation(arguments) + ["--dry-run"],
                         arguments[0] + " --dry-run")
    module.exit_json(changed=True, commands=out.splitlines())


def main():
    module = AnsibleModule(
        argument_spec=dict(
            program=dict(type="path", required=True),
            directory=dict(type="path", required=True),
            action=dict(type="str", required=True,
                        choices=["deploy", "update", "delete", "migrate"]),
            runtime=dict(type="bool", default=True),
            web_server=dict(type="bool", default=True),
            ignore_certs=dict(type="bool", default=False),
            migrate_file=dict(type="path", default=""),
            delete_source=dict(type="bool", default=False),
            state_file=dict(type="path", required=True),
            settings=dict(type="dict", default={}),
            settings_changed=dict(type="bool", default=False),
            language=dict(type="str", default="en"),
        ),
        supports_check_mode=True,
    )
    params = module.params
    tool = Deployer(module, params["program"], params["language"])
    tool.skip_check_when_missing()
    try:
        arguments = action_arguments(params)
    except ValueError as error:
        module.fail_json(msg=str(error))
    state = done(tool, params, arguments)
    if state is not None:
        module.exit_json(changed=False, state=state)
    if module.check_mode:
        dry_run(module, tool, arguments)
    if os.path.exists(params["state_file"]):
        os.remove(params["state_file"])
    out = tool.check(params["directory"], arguments + confirmation(arguments), arguments[0])
    settings, shown = tool.show(params["directory"])
    state = dict(action=arguments[0], arguments=arguments,
                 patch_version=settings.get("Patch/Version", ""),
                 settings_sha256=digest(shown))
    record(params["state_file"], state)
    module.exit_json(changed=True, state=state, stdout_lines=out.splitlines())


if __name__ == "__main__":
    main()
