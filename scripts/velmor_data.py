# SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Reads and writes the application's stored data in a home folder, for the desktop scripts.

The record file is "focus-records.json" in $XDG_DATA_HOME/VelmorTimer: one compact JSON array,
instants in seconds since 2001-01-01 00:00:00 UTC. The defaults store keeps one file per key in
$XDG_CONFIG_HOME/VelmorTimer: 'B' and raw bytes for byte values, 'J' and a tagged JSON value for
everything else.
"""
import base64
import datetime
import json
import os
import uuid

REFERENCE = datetime.datetime(2001, 1, 1, tzinfo=datetime.timezone.utc)


def data_folder(home):
    return os.path.join(home, ".local", "share", "VelmorTimer")


def config_folder(home):
    return os.path.join(home, ".config", "VelmorTimer")


def record_file(home):
    return os.path.join(data_folder(home), "focus-records.json")


def instant(moment):
    """An aware datetime as the record file's instant."""
    return (moment - REFERENCE).total_seconds()


def record(title, started, duration, project="未分类", subproject=None, wrap_up=None,
           early=False, ended=None, record_id=None):
    """One record as the file stores it; started and ended are aware datetimes."""
    ended = ended or started + datetime.timedelta(seconds=duration)
    result = {
        "id": record_id or str(uuid.uuid4()).upper(),
        "title": title,
        "startedAt": instant(started),
        "endedAt": instant(ended),
        "duration": float(duration),
        "project": project,
        "early": early,
    }
    if subproject is not None:
        result["subproject"] = subproject
    if wrap_up is not None:
        result["wrapUp"] = wrap_up
    return result


def encode_records(records):
    return json.dumps(records, ensure_ascii=False, separators=(",", ":")).encode("utf-8")


def write_records(home, records):
    """Writes the record file and its defaults copy with the same bytes; returns the bytes."""
    data = encode_records(records)
    os.makedirs(data_folder(home), exist_ok=True)
    with open(record_file(home), "wb") as out:
        out.write(data)
    write_default(home, "focus-records", data)
    return data


def _tagged(value):
    if isinstance(value, bool):
        return {"bool": value}
    if isinstance(value, int):
        return {"int": str(value)}
    if isinstance(value, float):
        return {"double": value}
    if isinstance(value, str):
        return {"string": value}
    if isinstance(value, (bytes, bytearray)):
        return {"bytes": base64.b64encode(value).decode("ascii")}
    if isinstance(value, (list, tuple)):
        return {"list": [_tagged(element) for element in value]}
    if isinstance(value, dict):
        return {"map": {key: _tagged(element) for key, element in value.items()}}
    raise TypeError(f"no stored form for {type(value).__name__}")


def _untagged(tagged):
    (kind, value), = tagged.items()
    if kind == "int":
        return int(value)
    if kind == "double":
        return float(value)
    if kind in ("bool", "string"):
        return value
    if kind == "bytes":
        return base64.b64decode(value)
    if kind == "list":
        return [_untagged(element) for element in value]
    if kind == "map":
        return {key: _untagged(element) for key, element in value.items()}
    raise ValueError(f"unknown stored type {kind}")


def write_default(home, key, value):
    """Stores one value under a defaults key, as the application would."""
    os.makedirs(config_folder(home), exist_ok=True)
    if isinstance(value, (bytes, bytearray)):
        content = b"B" + bytes(value)
    else:
        content = b"J" + json.dumps(_tagged(value), ensure_ascii=False,
                                    separators=(",", ":")).encode("utf-8")
    with open(os.path.join(config_folder(home), key), "wb") as out:
        out.write(content)


def read_default(home, key):
    """The value stored under a defaults key, or None when there is none."""
    path = os.path.join(config_folder(home), key)
    if not os.path.exists(path):
        return None
    with open(path, "rb") as source:
        content = source.read()
    if content[:1] == b"B":
        return content[1:]
    if content[:1] == b"J":
        return _untagged(json.loads(content[1:].decode("utf-8")))
    raise ValueError(f"{path}: unknown stored form")
