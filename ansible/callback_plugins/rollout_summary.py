# Sums a rollout up at the end of every play, also one that max_fail_percentage stopped: one line
# "fleet: N ok, M failed, K skipped, U unreachable" and rollout-summary.json on the controller.
# Copyright: 2024-2026 Deployment tools team. License: proprietary (packaging/copyright).
from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
name: rollout_summary
type: notification
author: Deployment tools team
short_description: One summary line and rollout-summary.json per rollout play
description:
  - "At the end of each play prints C(fleet: N ok, M failed, K skipped, U unreachable), where
    skipped counts the play's hosts that were never reached (a stopped rollout's later batches)."
  - Writes rollout-summary.json with each host's deployed version before and after the
    deployer action (from the server's status), its result and how long it took, and
    C(retry_limit), the hosts to give to C(--limit) to retry only those that did not succeed.
  - The file goes to the path in the environment variable ROLLOUT_SUMMARY, by default
    rollout-summary.json in the current folder.
"""

import json
import os
import time

from ansible.plugins.callback import CallbackBase

ACTION = "deployer_action"


class CallbackModule(CallbackBase):
    CALLBACK_VERSION = 2.0
    CALLBACK_TYPE = "notification"
    CALLBACK_NAME = "rollout_summary"
    CALLBACK_NEEDS_ENABLED = False

    def __init__(self):
        super(CallbackModule, self).__init__()
        self.hosts = []
        self.seen = {}
        self.play_id = None

    def v2_playbook_on_play_start(self, play):
        # Called again for every batch of a play with serial: the play's hosts are counted once,
        # with --limit but without the batch's restriction.
        play_id = getattr(play, "_uuid", None)
        if play_id is not None and play_id == self.play_id:
            return
        self.play_id = play_id
        self.seen = {}
        inventory = play.get_variable_manager()._inventory
        self.hosts = [host.name
                      for host in inventory.get_hosts(play.hosts, ignore_restrictions=True)]

    def host(self, result):
        name = result._host.get_name()
        now = time.time()
        entry = self.seen.setdefault(name, dict(started=now, ended=now, version_before=None,
                                                version_after=None, result="ok"))
        entry["ended"] = now
        return entry

    def v2_runner_on_start(self, host, task):
        now = time.time()
        self.seen.setdefault(host.get_name(), dict(started=now, ended=now, version_before=None,
                                                   version_after=None, result="ok"))

    def versions(self, result):
        entry = self.host(result)
        if result._task.action.split(".")[-1] == ACTION:
            for key in ("version_before", "version_after"):
                if key in result._result:
                    entry[key] = result._result[key]
            if result._result.get("rolled_back"):
                entry["rolled_back"] = True
        return entry

    def v2_runner_on_ok(self, result):
        self.versions(result)

    def v2_runner_on_skipped(self, result):
        self.host(result)

    def v2_runner_on_failed(self, result, ignore_errors=False):
        entry = self.versions(result)
        if not ignore_errors:
            entry["result"] = "failed"
            entry["message"] = result._result.get("msg", "").split("\n")[0]

    def v2_runner_on_unreachable(self, result):
        self.host(result)["result"] = "unreachable"

    def v2_playbook_on_stats(self, stats):
        summary = {}
        for name in self.hosts:
            entry = self.seen.get(name)
            if entry is None:
                summary[name] = dict(result="skipped", version_before=None, version_after=None,
                                     duration=0.0)
                continue
            entry = dict(entry)
            entry["duration"] = round(entry.pop("ended") - entry.pop("started"), 2)
            summary[name] = entry
        counts = dict((kind, sum(1 for e in summary.values() if e["result"] == kind))
                      for kind in ("ok", "failed", "skipped", "unreachable"))
        self._display.display("fleet: %(ok)d ok, %(failed)d failed, %(skipped)d skipped, "
                              "%(unreachable)d unreachable" % counts)
        path = os.environ.get("ROLLOUT_SUMMARY", "rollout-summary.json")
        retry = [name for name in self.hosts if summary[name]["result"] != "ok"]
        with open(path, "w") as out:
            json.dump(dict(counts=counts, hosts=summary, retry_limit=",".join(retry)), out,
                      indent=2, sort_keys=True)
            out.write("\n")
