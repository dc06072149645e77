"""Reads a DXF file with ezdxf and prints what the tests compare, one fact per line:

    encoding cp932
    audit errors 0
    header $EXTMIN -4.200000 -2.100000
    layer 1-D10-ドリル 3            entities per layer, layers sorted
    CIRCLE 1-D10-ドリル 20.000000 30.000000 5.000000
    ARC 原点 0.000000 0.000000 0.100000 0.000000 90.000000
    LINE 基準線 12.500000 30.000000 27.500000 30.000000
    TEXT 原点 1.400000 -4.200000 1.400000 0.000000 A01

Entities are listed in file order. With --counts only the encoding, audit and layer lines are printed.
The text encoding is taken from the file's $DWGCODEPAGE, as any reader of the file would take it.
Exit status 2 when ezdxf cannot be imported, 1 when the file does not load.
"""
import sys

try:
    import ezdxf
except ImportError as e:
    print(f"check_dxf.py: cannot import ezdxf: {e}", file=sys.stderr)
    sys.exit(2)


def num(v):
    return f"{v:.6f}"


def main():
    args = sys.argv[1:]
    counts_only = "--counts" in args
    args = [a for a in args if a != "--counts"]
    if len(args) != 1:
        print("usage: check_dxf.py [--counts] FILE", file=sys.stderr)
        return 2
    try:
        doc = ezdxf.readfile(args[0])
    except Exception as e:  # any load failure is a test failure
        print(f"check_dxf.py: cannot load {args[0]}: {e}", file=sys.stderr)
        return 1
    out = sys.stdout
    out.write(f"encoding {doc.encoding}\n")
    auditor = doc.audit()
    out.write(f"audit errors {len(auditor.errors)}\n")
    for e in auditor.errors:
        out.write(f"audit error {e.message}\n")
    for var in ("$EXTMIN", "$EXTMAX"):
        v = doc.header.get(var)
        if v is not None:
            out.write(f"header {var} {num(v[0])} {num(v[1])}\n")
    msp = doc.modelspace()
    per_layer = {}
    for e in msp:
        per_layer[e.dxf.layer] = per_layer.get(e.dxf.layer, 0) + 1
    for name in sorted(per_layer):
        out.write(f"layer {name} {per_layer[name]}\n")
    if counts_only:
        return 0
    for e in msp:
        t, d = e.dxftype(), e.dxf
        if t == "LINE":
            out.write(f"LINE {d.layer} {num(d.start.x)} {num(d.start.y)} {num(d.end.x)} {num(d.end.y)}\n")
        elif t == "CIRCLE":
            out.write(f"CIRCLE {d.layer} {num(d.center.x)} {num(d.center.y)} {num(d.radius)}\n")
        elif t == "ARC":
            out.write(f"ARC {d.layer} {num(d.center.x)} {num(d.center.y)} {num(d.radius)} "
                      f"{num(d.start_angle)} {num(d.end_angle)}\n")
        elif t == "TEXT":
            out.write(f"TEXT {d.layer} {num(d.insert.x)} {num(d.insert.y)} {num(d.height)} "
                      f"{num(d.rotation)} {d.text}\n")
        else:
            out.write(f"{t} {d.layer}\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
