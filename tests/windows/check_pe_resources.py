#!/usr/bin/env python3
"""Reads the resources of a Windows program from its PE file and checks
what Explorer and the loader take from them: the first icon group and its
sizes, the version information and the manifest.

Usage: check_pe_resources.py gui|console EXE VERSION
"""
import struct
import sys
import xml.etree.ElementTree as ET

RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
ASM_V1 = "{urn:schemas-microsoft-com:asm.v1}"
ASM_V3 = "{urn:schemas-microsoft-com:asm.v3}"
COMPAT = "{urn:schemas-microsoft-com:compatibility.v1}"
SUPPORTED_OS = {
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "Windows 7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "Windows 8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "Windows 8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "Windows 10 and 11",
}


def read_resources(path):
    """Returns [(type, name, language, bytes)] in directory order; a name is
    an int or an upper-case string, as the resource compiler stored it."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] != b"MZ":
        raise ValueError(f"{path}: not a PE file")
    (pe,) = struct.unpack_from("<I", data, 0x3C)
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError(f"{path}: no PE signature")
    sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (112 if magic == 0x20B else 96)
    rsrc_rva, _ = struct.unpack_from("<II", data, directories + 2 * 8)
    if rsrc_rva == 0:
        return []
    table = optional + optional_size
    spans = []
    for i in range(sections):
        _, vsize, vaddr, rawsize, rawptr = struct.unpack_from("<8sIIII", data, table + 40 * i)
        spans.append((vaddr, max(vsize, rawsize), rawptr))

    def offset(rva):
        for vaddr, size, rawptr in spans:
            if vaddr <= rva < vaddr + size:
                return rva - vaddr + rawptr
        raise ValueError(f"{path}: RVA {rva:#x} is in no section")

    base = offset(rsrc_rva)

    def entries(at):
        named, ids = struct.unpack_from("<12xHH", data, base + at)
        for i in range(named + ids):
            key, value = struct.unpack_from("<II", data, base + at + 16 + 8 * i)
            if key & 0x80000000:
                (length,) = struct.unpack_from("<H", data, base + (key & 0x7FFFFFFF))
                start = base + (key & 0x7FFFFFFF) + 2
                key = data[start:start + 2 * length].decode("utf-16-le")
            yield key, value

    found = []
    for kind, types in entries(0):
        for name, names in entries(types & 0x7FFFFFFF):
            for language, leaf in entries(names & 0x7FFFFFFF):
                rva, size = struct.unpack_from("<II", data, base + leaf)
                found.append((kind, name, language, data[offset(rva):offset(rva) + size]))
    return found


def version_nodes(block, at, end):
    """Yields (key, value bytes, children offset, node end) for each node of a
    VS_VERSIONINFO tree between at and end."""
    while at + 6 <= end:
        length, value_length, text = struct.unpack_from("<HHH", block, at)
        if length == 0:
            return
        key_end = at + 6
        while block[key_end:key_end + 2] != b"\0\0":
            key_end += 2
        key = block[at + 6:key_end].decode("utf-16-le")
        value_at = (key_end + 2 + 3) & ~3
        value_size = 2 * value_length if text else value_length
        yield key, block[value_at:value_at + value_size], (value_at + value_size + 3) & ~3, at + length
        at = (at + length + 3) & ~3


def version_info(block):
    """Returns (the fixed file version as a tuple, {string name: value})."""
    key, value, children, end = next(version_nodes(block, 0, len(block)))
    if key != "VS_VERSION_INFO":
        raise ValueError(f"version block starts with {key!r}")
    signature, _, ms, ls = struct.unpack_from("<IIII", value)
    if signature != 0xFEEF04BD:
        raise ValueError("no VS_FIXEDFILEINFO")
    strings = {}
    for key, _, tables, table_end in version_nodes(block, children, end):
        if key != "StringFileInfo":
            continue
        for _, _, entries, entries_end in version_nodes(block, tables, table_end):
            for name, text, _, _ in version_nodes(block, entries, entries_end):
                strings[name] = text.decode("utf-16-le").split("\0")[0]
    return (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF), strings


def check(kind, exe, version):
    resources = read_resources(exe)
    groups = [(name, body) for k, name, _, body in resources if k == RT_GROUP_ICON]
    versions = [body for k, _, _, body in resources if k == RT_VERSION]
    manifests = [(name, body) for k, name, _, body in resources if k == RT_MANIFEST]

    icon_sizes = []
    if groups:
        _, body = groups[0]
        (count,) = struct.unpack_from("<4xH", body)
        for i in range(count):
            width = body[6 + 14 * i]
            icon_sizes.append(256 if width == 0 else width)
    fixed, strings = version_info(versions[0]) if versions else ((), {})
    manifest = ET.fromstring(manifests[0][1]) if len(manifests) == 1 else None

    def settings(name):
        if manifest is None:
            return None
        for element in manifest.iter():
            if element.tag.endswith("}" + name):
                return (element.text or "").strip()
        return None

    def supported_os():
        if manifest is None:
            return set()
        return {e.get("Id") for e in manifest.iter(COMPAT + "supportedOS")}

    def level():
        if manifest is None:
            return None
        element = manifest.find(f".//{ASM_V3}requestedExecutionLevel")
        return None if element is None else element.get("level")

    def common_controls():
        if manifest is None:
            return None
        for identity in manifest.iter(ASM_V1 + "assemblyIdentity"):
            if identity.get("name") == "Microsoft.Windows.Common-Controls":
                return identity.get("version")
        return None

    numbers = tuple(int(part) for part in version.split(".")) + (0,) * 4
    exe_name = exe.replace("\\", "/").rsplit("/", 1)[-1]
    cases = [
        ("the first icon group is 'quillmark'", groups[0][0] if groups else None, "QUILLMARK"),
        ("its sizes", sorted(icon_sizes), [16, 32, 48, 256]),
        ("one version block", len(versions), 1),
        ("fixed file version", fixed, numbers[:4]),
        ("FileVersion", strings.get("FileVersion"), version),
        ("ProductVersion", strings.get("ProductVersion"), version),
        ("CompanyName", strings.get("CompanyName"), "The Quillmark authors"),
        ("ProductName", strings.get("ProductName"), "Quillmark"),
        ("OriginalFilename", strings.get("OriginalFilename"), exe_name),
        ("a FileDescription", bool(strings.get("FileDescription")), True),
        ("one manifest, resource 1", [name for name, _ in manifests], [1]),
        ("execution level", level(), "asInvoker"),
        ("supported systems", sorted(supported_os()), sorted(SUPPORTED_OS)),
        ("no UTF-8 code page", settings("activeCodePage"), None),
    ]
    if kind == "gui":
        cases += [
            ("common controls", common_controls(), "6.0.0.0"),
            ("dpiAware", settings("dpiAware"), "true/pm"),
            ("dpiAwareness", settings("dpiAwareness"), "PerMonitorV2,PerMonitor"),
        ]
    failed = 0
    for what, got, wanted in cases:
        if got != wanted:
            failed += 1
            print(f"FAIL: {exe_name}: {what}: got {got!r}, wanted {wanted!r}")
    print(f"{exe_name}: {len(cases) - failed} passed, {failed} failed")
    return failed


def main(argv):
    if len(argv) != 4 or argv[1] not in ("gui", "console"):
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    try:
        return 1 if check(argv[1], argv[2], argv[3]) else 0
    except (OSError, ValueError, struct.error, ET.ParseError) as error:
        print(f"FAIL: {argv[2]}: {error}")
        return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
