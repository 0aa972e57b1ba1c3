#!/usr/bin/env python3
"""The two releases of the demonstration.

  install-old CLIENT --indicator DLL      lays the older release into a client folder
  publish ROOT --indicator DLL --previous-indicator DLL --host H --publisher TOOL --key PEM
                                          puts the newer release, its Update.xml (made and
                                          signed by the publisher tool, with the older
                                          release as the previous one, so that each file is
                                          also offered compressed and as a patch from the
                                          older copy) and WhatNews.txt into the update
                                          server's folder
  verify CLIENT ROOT --server-log LOG     checks that the client now holds the newer
                                          release and that the updater fetched exactly the
                                          newer files, each once in one of its forms; prints
                                          one "ok"/"FAIL" line per check and the bytes
                                          fetched against the whole files' size

The release files are kept in UTF-8 in the source tree; the client's files are
GB2312 text, as are the manifest and the release notes.
"""
import argparse
import datetime
import os
import re
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
INSTALLED = os.path.join(HERE, "release", "installed")
SERVED = os.path.join(HERE, "release", "served")
NOTES = os.path.join(HERE, "release", "WhatNews.txt")

# The day the older release was installed: the installed files carry it as
# their modification date, and an item whose manifest date is not later is
# left alone.
INSTALLED_DAY = datetime.datetime(2024, 3, 15, 12, 0, 0)

# Items of the manifest: (file name, sub-folder, how the updater decides).
# "version": the version resource of the installed .dll against FileVersion;
# "newer": the served file is dated today, later than the installed file;
# "same": the served file keeps the installed day, so it is not fetched.
# The publisher tool takes FileVersion and FileDateLow from the served files.
ITEMS = [
    ("Indicator.dll", "", "version"),
    ("行情说明.txt", "", "newer"),
    ("refer.xml", "data", "newer"),
    ("Formula.dat", "", "same"),
]
SERVED_VERSION = "1.0.0.2"


def client_bytes(path):
    """A release file as the client keeps it: text in GB2312, .txt with CR LF."""
    with open(path, "rb") as source:
        data = source.read()
    if path.endswith((".txt", ".xml", ".dat")):
        text = data.decode("utf-8")
        if path.endswith(".txt"):
            text = text.replace("\r\n", "\n").replace("\n", "\r\n")
        data = text.encode("gb2312")
    return data


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as target:
        target.write(data)


def copy_release(source_root, target_root):
    for folder, _, names in os.walk(source_root):
        for name in names:
            source = os.path.join(folder, name)
            target = os.path.join(target_root, os.path.relpath(source, source_root))
            write(target, client_bytes(source))


def lay_out_older_release(target, indicator):
    copy_release(INSTALLED, target)
    shutil.copyfile(indicator, os.path.join(target, "Indicator.dll"))


def install_old(args):
    lay_out_older_release(args.client, args.indicator)
    stamp = INSTALLED_DAY.timestamp()
    for folder, _, names in os.walk(args.client):
        for name in names:
            os.utime(os.path.join(folder, name), (stamp, stamp))


def publish(args):
    files = os.path.join(args.root, "files")
    copy_release(SERVED, files)
    shutil.copyfile(args.indicator, os.path.join(files, "Indicator.dll"))
    stamp = INSTALLED_DAY.timestamp()
    for name, sub_folder, rule in ITEMS:
        if rule == "same":
            path = os.path.join(files, sub_folder, name)
            os.utime(path, (stamp, stamp))
    with tempfile.TemporaryDirectory() as previous:
        lay_out_older_release(previous, args.previous_indicator)
        subprocess.run([args.publisher, "manifest", files, "--previous", previous,
                        "--base-url", "http://%s/files" % args.host, "--version", SERVED_VERSION,
                        "--key", args.key, "--out", os.path.join(args.root, "Update.xml")], check=True)
    write(os.path.join(args.root, "WhatNews.txt"), client_bytes(NOTES))


def verify(args):
    checks = []

    def check(happened, what):
        checks.append(happened)
        print("%s %s" % ("ok" if happened else "FAIL", what))

    def read(path):
        try:
            with open(path, "rb") as source:
                return source.read()
        except OSError:
            return None

    with open(args.server_log, encoding="utf-8") as log:
        requests = [line.split(" ", 3) for line in log.read().splitlines()]
    whole_bytes = fetched_bytes = patches = 0
    for name, sub, rule in ITEMS:
        relative = os.path.join(sub, name) if sub else name
        path = "/files/" + relative.replace(os.sep, "/")
        # The file itself, compressed, or a patch from an older copy.
        form = re.compile(re.escape(path) + r"(\.zst|\.[0-9a-f]{16}\.zpatch)?$")
        fetched = [r for r in requests if len(r) == 4 and form.match(r[1]) and r[2] == "200" and "Koravel" in r[3]]
        if rule == "same":
            check(not fetched, "%s was not fetched in any form" % path)
        else:
            kinds = ["a patch" if r[1].endswith(".zpatch") else "compressed" if r[1].endswith(".zst") else "whole"
                     for r in fetched]
            sizes = [os.path.getsize(os.path.join(args.root, r[1].lstrip("/"))) for r in fetched]
            whole = os.path.getsize(os.path.join(args.root, "files", relative))
            check(len(fetched) == 1, "the updater fetched %s once, %s: %s of its %d bytes (requests: %d)"
                  % (path, " and ".join(kinds) or "never", " + ".join(map(str, sizes)) or "0", whole, len(fetched)))
            whole_bytes += whole
            fetched_bytes += sum(sizes)
            patches += kinds.count("a patch")
        installed = read(os.path.join(args.client, relative))
        served = read(os.path.join(args.root, "files", relative))
        if rule == "same":
            check(installed is not None and os.path.getmtime(os.path.join(args.client, relative))
                  == INSTALLED_DAY.timestamp(), "%s was up to date and left as it was" % relative)
        else:
            check(installed is not None and installed == served,
                  "%s now holds the newer release (same bytes as served)" % relative)
        left_in_update = os.path.exists(os.path.join(args.client, "Update", relative))
        if rule == "same":
            check(not left_in_update, "nothing of %s lies in Update/" % relative)
        else:
            check(not left_in_update, "the downloaded copy Update/%s was removed after installing" % relative)
    check(not os.path.exists(os.path.join(args.client, "Update", "QMUpdateFileList.txt")),
          "the state file Update/QMUpdateFileList.txt is gone")
    check(patches > 0, "the updater applied %d patch%s from the installed copies" % (patches, "" if patches == 1 else "es"))
    check(fetched_bytes < whole_bytes, "bytes fetched for the newer files: %d of their whole size %d (%.1f %%)"
          % (fetched_bytes, whole_bytes, 100.0 * fetched_bytes / max(whole_bytes, 1)))
    return 0 if all(checks) else 1


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    commands = parser.add_subparsers(dest="command", required=True)
    old = commands.add_parser("install-old")
    old.add_argument("client")
    old.add_argument("--indicator", required=True)
    new = commands.add_parser("publish")
    new.add_argument("root")
    new.add_argument("--indicator", required=True)
    new.add_argument("--previous-indicator", required=True, help="the older release's Indicator.dll")
    new.add_argument("--host", required=True)
    new.add_argument("--publisher", required=True, help="the koravel-publish program")
    new.add_argument("--key", required=True, help="the publisher's private key (PEM)")
    check = commands.add_parser("verify")
    check.add_argument("client")
    check.add_argument("root")
    check.add_argument("--server-log", required=True)
    args = parser.parse_args()
    if args.command == "install-old":
        install_old(args)
    elif args.command == "publish":
        publish(args)
    else:
        return verify(args)
    return 0


if __name__ == "__main__":
    sys.exit(main())
