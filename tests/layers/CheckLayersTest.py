#!/usr/bin/env python3
"""The layer check on a small tree of three layers: each way round it that
an include or a link could take makes it fail, and the tree without them
passes."""
import os
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import CheckLayers  # noqa: E402

TABLE = """| folder | target(s) | holds | may use |
|---|---|---|---|
| `low` | `low` | the bottom | std only |
| `mid` | `mid` | Qt-free | low |
| `win` | `win` | the windows | mid and below (the middle), Qt, xcb |
"""
TREE = {
    'ARCHITECTURE.md': TABLE,
    'low/Low.h': '#pragma once\n#include <string>\n',
    'mid/Mid.h': '#pragma once\n#include "low/Low.h"\n#include "Mid2.h"\n',
    'mid/Mid2.h': '#pragma once\n',
    'win/Win.h': ('#pragma once\n#include "mid/Mid.h"\n#include <QWidget>\n#include <QtWidgets/QWidget>\n'
                  '#include <xcb/xcb.h>\n#include <X11/Xlib.h>\n'),
    'other/Other.h': '#pragma once\n',
    '../qt/QtWidgets/QWidget': '', '../qt/QtWidgets/qwidget.h': '', '../sys/string': '',
    '../sys/xcb/xcb.h': '', '../sys/X11/Xlib.h': '',
}
LINKS = [('low', ''), ('mid', 'low'), ('win', 'mid'), ('win', 'Qt6::Widgets'), ('win', '/usr/lib/libxcb.so'),
         ('helper', 'Qt6::Core')]

# (what, files planted in mid/ or links added, what the failure says; None: passes)
CASES = [
    ('the tree as it is', {}, [], None),
    ('commented out, in a raw string', {'mid/Ok.cpp': '// #include "win/Win.h"\n'
                                        'auto s = R"(\n#include "win/Win.h"\n)";\nint n = 1\'000;\n'}, [], None),
    ('up from the folder', {'mid/Bad.cpp': '#include "../win/Win.h"\n'}, [], 'no ".."'),
    ('up inside a layer path', {'mid/Bad.cpp': '#include "mid/../win/Win.h"\n'}, [], 'no ".."'),
    ('Qt in lower case', {'mid/Bad.cpp': '#include <qwidget.h>\n'}, [], 'includes Qt'),
    ('Qt by module', {'mid/Bad.cpp': '#include <QtWidgets/QWidget>\n'}, [], 'includes Qt'),
    ('xcb', {'mid/Bad.cpp': '#include <xcb/xcb.h>\n'}, [], 'includes xcb'),
    ('xcb quoted', {'mid/Bad.h': '#include "xcb/xcb.h"\n'}, [], 'includes xcb'),
    ('Xlib', {'mid/Bad.cpp': '#include <X11/Xlib.h>\n'}, [], 'includes xcb'),
    ('a folder of its own named xcb', {'mid/xcb/Own.h': '', 'mid/Ok.cpp': '#include "xcb/Own.h"\n'}, [], None),
    ('behind a macro', {'mid/Bad.cpp': '#define X "win/Win.h"\n#include X\n'}, [], 'no literal'),
    ('behind a comment', {'mid/Bad.cpp': '/* */ #include "win/Win.h"\n'}, [], 'may not use'),
    ('behind a continuation', {'mid/Bad.cpp': '#\\\ninclude "win/Win.h"\n'}, [], 'may not use'),
    ('spaced', {'mid/Bad.cpp': '  #  include "win/Win.h"\n'}, [], 'may not use'),
    ('in a .hpp', {'mid/Bad.hpp': '#include "win/Win.h"\n'}, [], 'may not use'),
    ('in a .inl', {'mid/Bad.inl': '#include "win/Win.h"\n'}, [], 'may not use'),
    ('in no code file', {'mid/Bad.txt': '#include "low/Low.h"\n'}, [], 'no code file'),
    ('unresolvable', {'mid/Bad.cpp': '#include "low/Gone.h"\n'}, [], 'no such file'),
    ('outside the layers', {'mid/Bad.cpp': '#include "other/Other.h"\n'}, [], 'belongs to no layer'),
    ('a link up', {}, [('low', 'mid')], 'links mid of mid'),
    ('a link to Qt', {}, [('mid', 'Qt6::Gui')], 'may not use Qt'),
    ('a link to xcb', {}, [('mid', '/usr/lib/libxcb-xtest.so.0')], 'may not use xcb'),
    ('a link to Xlib by name', {}, [('mid', 'X11')], 'may not use xcb'),
    ('a link to an Xlib extension', {}, [('mid', '-lXtst')], 'may not use xcb'),
    ('Qt through a link', {}, [('mid', 'helper')], 'reaches Qt6::Core'),
]


def plant(root, files, links):
    for rel, text in files.items():
        os.makedirs(os.path.dirname(os.path.join(root, rel)), exist_ok=True)
        with open(os.path.join(root, rel), 'w') as f:
            f.write(text)
    config = os.path.join(root, 'targets.tsv')
    with open(config, 'w') as f:
        f.write(f'root\t{root}\ntable\t{root}/ARCHITECTURE.md\nlayers\tlow\tmid\twin\n'
                f'sysdir\t{root}/../sys\nqtdir\t{root}/../qt\nqtdir\t{root}/../qt/QtWidgets\n')
        for name in ('low', 'mid', 'win'):
            f.write(f'target\t{name}\tSTATIC_LIBRARY\t{root}/{name}\n')
        f.write(f'target\thelper\tSTATIC_LIBRARY\t{root}/other\n')
        for name, item in links:
            f.write(f'link\t{name}\t{item}\n')
    return config


def main():
    failed = []
    for what, files, links, expected in CASES:
        with tempfile.TemporaryDirectory() as folder:
            root = os.path.join(folder, 'src')
            checker = CheckLayers.Checker(CheckLayers.Config(plant(root, {**TREE, **files}, LINKS + links)))
            checker.check_order()
            checker.check_includes()
            checker.check_links()
            said = '\n'.join(checker.failures)
            if expected is None and said:
                failed.append(f'{what}: should pass, failed with\n{said}')
            elif expected is not None and expected not in said:
                failed.append(f'{what}: should fail with "{expected}", said "{said}"')
    print('\n'.join(failed) or f'{len(CASES)} cases as expected')
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
