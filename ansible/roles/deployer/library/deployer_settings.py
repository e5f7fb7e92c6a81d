#!/usr/bin/python3
# Applies settings to a deployer working folder with "deployer set".
# Copyright: 2024-2026 Deployment tools team. License: proprietary (packaging/copyright).
from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
module: deployer_settings
author: Deployment tools team
short_description: Applies settings to a deployer working folder
description:
  - Runs C(deployer set) with every wanted value and reports C(changed) exactly when it printed
    a change. In check mode runs the same C(set) on a scratch copy of the folder (a fresh
    C(init) when it has none yet), so a value the program refuses fails as it would for real,
    and the folder is left alone. Both modes return the changed values as a diff.
options:
  program: {description: The deployer program., type: path, required: true}
  directory: {description: The working folder holding Settings.json., type: path, required: true}
  settings: {description: "Wanted values by path, such as C(WebServer/Port: 8080).", type: dict}
  language: {description: Language of a new folder's texts in check mode., type: str}
"""

EXAMPLES = r"""
- name: Apply the settings
  deployer_settings:
    program: /usr/bin/deployer
    directory: /var/lib/deployer
    settings:
      WebServer/Port: 8080
      Patch/Version: 24.2.0.9
"""

RETURN = r"""
changes:
  description: "The lines that set printed, one C(Path: old -> new) per changed value."
  returned: always
  type: list
  elements: str
  sample: ["Patch/Version: 24.2.0.7 -> 24.2.0.9"]
diff:
  description: The changed values before and after, as C(Path=value) lines.
  returned: when a value is wanted
  type: dict
"""

from ansible.module_utils.basic import AnsibleModule
from ansible.module_utils.deployer_tool import Deployer, lines, text


def changes_printed(printed):
    """The before and after values of the "Path: old -> new" lines of set."""
    before, after = {}, {}
    for line in printed:
        path, separator, change = line.partition(": ")
        old, arrow, new = change.partition(" -> ")
        if separator and arrow:
            before[path], after[path] = old, new
    return before, after


def main():
    module = AnsibleModule(
        argument_spec=dict(
            program=dict(type="path", required=True),
            directory=dict(type="path", required=True),
            settings=dict(type="dict", default={}),
            language=dict(type="str", default="en"),
        ),
        supports_check_mode=True,
    )
    tool = Deployer(module, module.params["program"], module.params["language"])
    tool.skip_check_when_missing()
    directory = module.params["directory"]
    wanted = dict((path, text(value)) for path, value in module.params["settings"].items())
    if not wanted:
        module.exit_json(changed=False, changes=[])
    if module.check_mode:
        # The program's own set on a throw-away copy: the same checks, the same change lines.
        with tool.scratch(directory) as copy:
            printed = tool.set(copy, wanted)
    else:
        printed = tool.set(directory, wanted)
    before, after = changes_printed(printed)
    module.exit_json(
        changed=bool(printed),
        changes=printed,
        diff=dict(before=lines(before), after=lines(after),
                  before_header=directory + "/Settings.json",
                  after_header=directory + "/Settings.json"))


if __name__ == "__main__":
    main()
