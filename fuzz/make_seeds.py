#!/usr/bin/env python3
"""Cuts DXF drawings into small seed files for the fuzzers.

Mutating a 300 KB drawing costs a fuzzer as much as mutating a hundred small ones, and most of its bytes
are header variables and tables that the reader skips. Each drawing given becomes seeds that keep what
the reader reads: $INSUNITS, the BLOCKS section, and the ENTITIES section, whole when small and in runs of
at most RUN entities otherwise, each a complete file with its EOF.

    make_seeds.py OUT_DIR FILE.dxf...
"""
import os
import sys

RUN = 40
MAX_BLOCKS_BYTES = 16000


def pairs(path):
    with open(path, 'rb') as f:
        lines = f.read().decode('latin-1').splitlines()
    return [(lines[i].strip(), lines[i + 1].strip()) for i in range(0, len(lines) - 1, 2)]


def sections(items):
    """name -> list of records (each a list of pairs), for every section of the file."""
    out, name, records = {}, None, None
    for code, value in items:
        if code == '0' and value == 'SECTION':
            name, records = '?', []
            continue
        if name == '?' and code == '2':
            name = value.upper()
            continue
        if code == '0' and value == 'ENDSEC':
            if name:
                out[name] = records
            name, records = None, None
            continue
        if records is None:
            continue
        if code == '0':
            records.append([])
        if records:
            records[-1].append((code, value))
    return out


def text(items):
    return ''.join('%s\n%s\n' % pair for pair in items)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    made = 0
    for path in sys.argv[2:]:
        try:
            found = sections(pairs(path))
        except (OSError, IndexError):
            continue
        head = ''
        for record in found.get('HEADER', []):
            pass
        header_items = [p for r in found.get('HEADER', []) for p in r]
        for i, (code, value) in enumerate(header_items):
            if code == '9' and value == '$INSUNITS' and i + 1 < len(header_items):
                head = '0\nSECTION\n2\nHEADER\n9\n$INSUNITS\n%s\n%s\n0\nENDSEC\n' % header_items[i + 1]
        blocks = text(p for r in found.get('BLOCKS', []) for p in r)
        if len(blocks) > MAX_BLOCKS_BYTES:
            blocks = ''
        entities = found.get('ENTITIES', [])
        # POLYLINE runs (POLYLINE, VERTEX..., SEQEND) stay together.
        groups = []
        for record in entities:
            if record and record[0][1] in ('VERTEX', 'SEQEND', 'ATTRIB') and groups:
                groups[-1].extend(record)
            else:
                groups.append(list(record))
        stem = os.path.splitext(os.path.basename(path))[0]
        for start in range(0, max(len(groups), 1), RUN):
            body = text(p for g in groups[start:start + RUN] for p in g)
            seed = head + '0\nSECTION\n2\nBLOCKS\n' + blocks + '0\nENDSEC\n' + \
                '0\nSECTION\n2\nENTITIES\n' + body + '0\nENDSEC\n0\nEOF\n'
            with open(os.path.join(out, '%s_%03d.dxf' % (stem, start // RUN)), 'w', encoding='latin-1') as f:
                f.write(seed)
            made += 1
    print('%d seeds in %s' % (made, out))


if __name__ == '__main__':
    main()
