#!/usr/bin/python3
# Runs one deployer action when the server's own status says that it is needed.
# Copyright: 2024-2026 Deployment tools team. License: proprietary (packaging/copyright).
from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
module: deployer_action
author: Deployment tools team
short_description: Runs a deployer action once per settings
description:
  - Runs C(deploy), C(update), C(delete) or C(migrate) on a working folder, with C(--yes) where
    the action removes an installation.
  - Whether the action is needed is decided from C(deployer status --json), never from a file of
    the role's own. Deploy and update run when nothing is deployed, another patch version is
    wanted, the settings changed since the last succeeded action (drift), a component is missing
    (deploy), the application is unhealthy, or the last action did not succeed. Delete runs while
    a release is deployed; migrate when the last action was not a succeeded migrate or the
    settings drifted. The reasons are returned as C(reasons).
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
  settings: {description: The wanted settings (used by check mode)., type: dict}
  settings_changed:
    description: The settings task changed (or in check mode would change) the settings.
    type: bool
  language: {description: Language of a new folder's texts in check mode., type: str}
"""

EXAMPLES = r"""
- name: Deploy what the settings name, when the server's status says it is needed
  deployer_action:
    program: /usr/bin/deployer
    directory: /var/lib/deployer
    action: deploy
    settings: {Patch/Version: 24.2.0.9}

- name: Remove the installation
  deployer_action:
    program: /usr/bin/deployer
    directory: /var/lib/deployer
    action: delete
"""

RETURN = r"""
reasons:
  description: Why the action ran, from the status; empty when it did not.
  returned: always
  type: list
  elements: str
  sample: ["nothing is deployed"]
status:
  description: The output of C(deployer status --json) after the action (before it when none ran).
  returned: when the folder has settings
  type: dict
version_before:
  description: The deployed version before the action.
  returned: except in check mode
  type: str
version_after:
  description: The deployed version after the action (the previous one when it was rolled back).
  returned: except in check mode
  type: str
rolled_back:
  description: The failed action was rolled back by the program.
  returned: on failure
  type: bool
commands:
  description: In check mode, the command lines that the action would run.
  returned: in check mode
  type: list
  elements: str
stdout_lines:
  description: The progress lines of the action.
  returned: when the action ran
  type: list
  elements: str
"""

import os

from ansible.module_utils.basic import AnsibleModule
from ansible.module_utils.deployer_tool import Deployer, failure, text


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


def reasons(params, status, wanted_version):
    """Why the action has to run, from the status of the server; empty when it has not."""
    action = params["action"]
    deployed = status.get("deployed_version")
    last = status.get("last_action") or {}
    health = status.get("health") or {}
    components = status.get("components") or {}
    why = []
    if params["settings_changed"]:
        why.append("the settings change")
    if action == "delete":
        return why + (["release %s is deployed" % deployed] if deployed else [])
    if status.get("drift"):
        why.append("the settings changed since the last succeeded action")
    if action == "migrate":
        if last.get("action") != "migrate" or last.get("result") != "succeeded":
            why.append("the last action was not a succeeded migrate")
        return why
    if not deployed:
        why.append("nothing is deployed")
    elif deployed != wanted_version:
        why.append("%s is deployed, %s is wanted" % (deployed, wanted_version))
    if action == "deploy":
        for name, option in (("runtime", "runtime"), ("web_server", "web_server")):
            if params[option] and not components.get(name, False):
                why.append("the %s is missing" % name.replace("_", " "))
    if health.get("checked") and not health.get("ok"):
        why.append("the application is unhealthy: %s" % health.get("detail"))
    # A rolled back update left the good release in place and its Patch settings back.
    if last.get("result") in ("failed", "interrupted"):
        why.append("the last action (%s) %s" % (last.get("action"), last.get("result")))
    return why


def dry_run(module, tool, arguments, why):
    params = module.params
    wanted = dict((path, text(value)) for path, value in params["settings"].items())
    with tool.scratch(params["directory"]) as copy:
        if wanted:
            tool.set(copy, wanted)
        out = tool.check(copy, arguments + confirmation(arguments) + ["--dry-run"],
                         arguments[0] + " --dry-run")
    module.exit_json(changed=True, commands=out.splitlines(), reasons=why)


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
    directory = params["directory"]
    status = tool.status(directory) if tool.has_settings(directory) else {}
    wanted_version = text(params["settings"].get("Patch/Version", ""))
    if tool.has_settings(directory) and not (module.check_mode and wanted_version):
        wanted_version = tool.show(directory)[0].get("Patch/Version", "")
    why = reasons(params, status, wanted_version)
    if not why:
        module.exit_json(changed=False, status=status, reasons=[],
                         version_before=status.get("deployed_version"),
                         version_after=status.get("deployed_version"))
    if module.check_mode:
        dry_run(module, tool, arguments, why)
    before = status.get("deployed_version")
    code, out, err = tool.run(directory, arguments + confirmation(arguments))
    after = tool.status(directory)
    result = dict(changed=True, status=after, reasons=why, version_before=before,
                  version_after=after.get("deployed_version"), stdout_lines=out.splitlines())
    if code != 0:
        # A failed update has been rolled back by the program itself; status tells.
        module.fail_json(msg=failure(arguments[0], code, out, err), rc=code, stderr=err,
                         rolled_back=(after.get("last_action") or {}).get("result")
                         == "rolled_back", **result)
    module.exit_json(**result)


if __name__ == "__main__":
    main()
