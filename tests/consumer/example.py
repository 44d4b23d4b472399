import sys

import geomfeature as gf

part = gf.import_dxf(sys.argv[1])  # read, clean up, recognise standard shapes, nest
print(f"geomfeature {gf.__version__}: {len(part.patterns)} patterns, {len(part.loops)} loops")
for loop in part.loops:
    if loop.role == "hole":
        x0, y0, x1, y1 = loop.box
        print(f"hole #{loop.index}: {loop.shape} at ({(x0 + x1) / 2:.2f}, {(y0 + y1) / 2:.2f}), "
              f"{x1 - x0:.2f} x {y1 - y0:.2f} mm")
part.save("part.db", overwrite=True)
