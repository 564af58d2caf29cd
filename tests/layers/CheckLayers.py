#!/usr/bin/env python3
"""Holds the code to its layers, as the table of ARCHITECTURE.md says.

    CheckLayers.py check CONFIG         every include and every link edge
    CheckLayers.py views CONFIG OUTDIR  the include view of each target

CONFIG is written by cmake/LayerViews.cmake at configure time, one record a
line, fields split by tabs: root, table, layers, sysdir, qtdir, generated,
target (name, type, source folder), source and link (target, item).

An include is resolved to a file as the compiler would find it: a quoted one
beside the including file first, then against the source root, the generated
headers and the system, Qt and package include folders. The file is then a
layer's, Qt (under a Qt include folder, however it is spelled), xcb (the X
client headers, under xcb/ or X11/ of a system include folder) or another
system header, which every layer may use. Qt and xcb are libraries a row
names by word; the same words let a layer's targets link them.
"""
import os
import re
import shutil
import sys

CODE_SUFFIXES = ('.h', '.hh', '.hpp', '.hxx', '.inl', '.ipp', '.tpp', '.c', '.cc', '.cpp', '.cxx')
NOT_CODE = {'UTILITY'}

# Comments, and the literals in which comment starts mean nothing. A quote
# right after a digit or letter is a digit separator, not a character.
TOKEN = re.compile(r'''
    (?P<line>//[^\n]*)
  | (?P<block>/\*.*?(?:\*/|\Z))
  | (?P<raw>(?<![\w])(?:u8|u|U|L)?R"(?P<delim>[^()\\\s"]{0,16})\(.*?\)(?P=delim)")
  | (?P<str>(?<![\w])(?:u8|u|U|L)?"(?:\\.|[^"\\\n])*")
  | (?P<chr>(?<![\w'])(?:u8|u|U|L)?'(?:\\.|[^'\\\n])*')
''', re.S | re.X)
DIRECTIVE = re.compile(r'^[ \t]*#[ \t]*(include_next|include|import)\b(.*)$', re.M)
ANY_INCLUDE = re.compile(rb'^[ \t]*#[ \t]*include', re.M)

# The libraries a row names by word, which no other layer may include or link.
LIBRARIES = ('Qt', 'xcb')
# The X client headers, by their folder under a system include folder: the
# protocol's (xcb) and Xlib's, which speaks the same protocol.
X_HEADER_FOLDERS = ('xcb', 'X11')
# The X client libraries as a link item names them: a file path, a name
# alone, a linker flag or an imported target of CMake's FindX11; Xlib's
# extension libraries (Xtst, Xext, Xi, ...) speak the protocol too.
X_LIBRARY = re.compile(r'X11::.*|(?:.*/)?(?:lib|-l)?'
                       r'(?:xcb|X11|X(?:tst|ext|i|fixes|randr|render|inerama|cursor|damage|composite|ss|au|dmcp))'
                       r'(?:[-_][\w-]*)?(?:\.(?:so|a)[\d.]*)?')


def library_of(item):
    """The word of the library a link item names, or None."""
    if item.startswith('Qt6::'):
        return 'Qt'
    return 'xcb' if X_LIBRARY.fullmatch(item) else None


class Rules:
    """The "may use" column: per layer its clauses, each (targets or None,
    layers named, layers named "and below", libraries named)."""

    def __init__(self, path):
        self.order = []
        self.clauses = {}
        self.errors = []
        in_table = False
        for number, line in enumerate(open(path, encoding='utf-8'), 1):
            cells = [c.strip() for c in line.strip().strip('|').split('|')] if line.startswith('|') else []
            if cells and cells[-1] == 'may use' and cells[0] == 'folder':
                in_table = True
                continue
            if not in_table:
                continue
            if not cells:
                break
            if set(cells[0]) <= set('-: '):
                continue
            folder = re.fullmatch(r'`([^`]+)`', cells[0])
            if not folder:
                self.errors.append(f'{path}:{number}: a layer row names its folder in backticks')
                continue
            self.order.append(folder.group(1))
            self.clauses[folder.group(1)] = self._parse(cells[-1], folder.group(1), f'{path}:{number}')
        if not self.order:
            self.errors.append(f'{path}: no table with the columns "folder" ... "may use"')

    def _parse(self, text, layer, where):
        below = self.order[:-1]
        text = re.sub(r'\([^)]*\)', ' ', text)
        clauses = []
        for clause in text.split(';'):
            targets = None
            restricted = re.fullmatch(r'(.*?)\s+for\s+((?:`[^`]+`[\s,]*)+)', clause.strip())
            if restricted:
                clause = restricted.group(1)
                targets = set(re.findall(r'`([^`]+)`', restricted.group(2)))
            named, closed, libraries = set(), set(), set()
            for term in (t.strip() for t in clause.split(',')):
                name = term[:-len(' and below')] if term.endswith(' and below') else term
                if term == 'std only':
                    continue
                if term in LIBRARIES:
                    libraries.add(term)
                elif term == 'all below':
                    closed |= set(below)
                elif name in below:
                    (closed if name != term else named).add(name)
                else:
                    self.errors.append(f'{where}: {layer} may use "{term}": not a layer listed above it, '
                                       '"X and below", "all below", "Qt", "xcb" or "std only"')
            clauses.append((targets, named, closed, libraries))
        return clauses

    def _applies(self, clause, targets):
        return clause[0] is None or (targets and targets <= clause[0])

    def closure(self, layer, seen=None):
        """The layer and all its general clauses reach, transitively: what
        its headers may pull in."""
        seen = set() if seen is None else seen
        if layer not in seen:
            seen.add(layer)
            for targets, named, closed, _ in self.clauses.get(layer, []):
                if targets is None:
                    for other in named | closed:
                        self.closure(other, seen)
        return seen

    def may_use(self, layer, targets):
        """The layers a file (or a target) of this layer may include or link
        directly; targets: those it belongs to."""
        allowed = {layer}
        for clause in self.clauses.get(layer, []):
            if self._applies(clause, targets):
                allowed |= clause[1]
                for other in clause[2]:
                    allowed |= self.closure(other)
        return allowed

    def uses(self, layer, targets, library):
        """Whether the row names the library (a word of LIBRARIES) for them."""
        return any(library in c[3] for c in self.clauses.get(layer, []) if self._applies(c, targets))

    def view(self, layer, targets):
        """What the target's headers may reach: the closure of all it may use."""
        seen = set()
        for other in self.may_use(layer, targets):
            self.closure(other, seen)
        return seen

    def qt_reach(self, layer, targets):
        return self.uses(layer, targets, 'Qt') or any(self.uses(other, None, 'Qt')
                                                      for other in self.view(layer, targets))


class Config:
    def __init__(self, path):
        self.root, self.table, self.layers = '', '', None
        self.sysdirs, self.qtdirs, self.generated = [], [], {}
        self.targets, self.sources, self.links = {}, {}, {}
        for line in open(path, encoding='utf-8'):
            kind, *fields = line.rstrip('\n').split('\t')
            if kind == 'root':
                self.root = os.path.normpath(fields[0])
            elif kind == 'table':
                self.table = fields[0]
            elif kind == 'layers':
                self.layers = fields
            elif kind in ('sysdir', 'qtdir'):
                (self.sysdirs if kind == 'sysdir' else self.qtdirs).append(os.path.normpath(fields[0]))
            elif kind == 'generated':
                self.generated[os.path.normpath(os.path.join(fields[0], fields[1]))] = os.path.normpath(fields[0])
            elif kind == 'target':
                self.targets[fields[0]] = (fields[1], os.path.normpath(fields[2]))
                self.sources.setdefault(fields[0], set())
                self.links.setdefault(fields[0], [])
            elif kind == 'source':
                folder = self.targets[fields[0]][1]
                self.sources[fields[0]].add(os.path.normpath(os.path.join(folder, fields[1])))
            elif kind == 'link':
                item = re.sub(r'^\$<LINK_ONLY:(.*)>$', r'\1', fields[1])
                if item and item not in self.links[fields[0]]:
                    self.links[fields[0]].append(item)


def layer_of(rel, layers):
    """The layer whose folder is the longest prefix of the path, or None."""
    best = None
    for layer in layers:
        if (rel == layer or rel.startswith(layer + '/')) and (best is None or len(layer) > len(best)):
            best = layer
    return best


def directives(text):
    """(line, directive, operand) of each preprocessor include, after the
    lines are spliced and the comments are gone."""
    lines, starts, pending = [], [], None
    for number, line in enumerate(text.split('\n'), 1):
        if pending is None:
            pending, start = '', number
        if line.endswith('\\'):
            pending += line[:-1]
            continue
        lines.append(pending + line)
        starts.append(start)
        pending = None
    if pending is not None:
        lines.append(pending)
        starts.append(start)
    logical = '\n'.join(lines)

    def blank(match):
        if match.group('line') is not None:
            return ' '
        if match.group('block') is not None:
            return ' ' + '\n' * match.group('block').count('\n')
        if match.group('raw') is not None:
            # Its lines are no directives.
            return '""' + '\n' * match.group('raw').count('\n')
        return match.group(0)

    stripped = TOKEN.sub(blank, logical)
    for match in DIRECTIVE.finditer(stripped):
        yield starts[stripped.count('\n', 0, match.start())], match.group(1), match.group(2).strip()


class Checker:
    def __init__(self, config):
        self.config = config
        self.rules = Rules(config.table)
        self.failures = list(self.rules.errors)
        self.layers = self.rules.order
        self.file_targets = {}
        by_folder = {}
        for name, (kind, folder) in config.targets.items():
            if kind not in NOT_CODE:
                by_folder.setdefault(folder, set()).add(name)
            for source in config.sources[name]:
                self.file_targets.setdefault(source, set()).add(name)
        self.by_folder = by_folder

    def targets_of_file(self, path):
        return self.file_targets.get(path) or self.by_folder.get(os.path.dirname(path), set())

    def layer_of_folder(self, folder):
        rel = os.path.relpath(folder, self.config.root)
        return None if rel.startswith('..') else layer_of(rel, self.layers)

    def classify(self, path):
        """The layer of a resolved file, a word of LIBRARIES, or None for
        another system header; a string starting with '!' for a file of the
        tree outside the layers."""
        root = self.config.generated.get(path)
        if root is None and any(path.startswith(d + os.sep) for d in self.config.qtdirs):
            return 'Qt'
        if root is None and any(path.startswith(os.path.join(d, x) + os.sep)
                                for d in self.config.sysdirs for x in X_HEADER_FOLDERS):
            return 'xcb'
        if root is None and not os.path.relpath(path, self.config.root).startswith('..'):
            root = self.config.root
        if root is not None:
            rel = os.path.relpath(path, root)
            return layer_of(rel, self.layers) or '!' + rel
        return None

    def resolve(self, spelled, quoted, here):
        search = [here] if quoted else []
        search += [self.config.root] + sorted(set(self.config.generated.values()))
        search += self.config.qtdirs + self.config.sysdirs
        for folder in search:
            candidate = os.path.normpath(os.path.join(folder, spelled))
            if candidate in self.config.generated or os.path.isfile(candidate):
                return candidate
        return None

    def check_file(self, path, rel, own):
        data = open(path, 'rb').read()
        if not path.endswith(CODE_SUFFIXES):
            if ANY_INCLUDE.search(data):
                self.failures.append(f'{rel}: holds an #include but is no code file the check reads '
                                     f'({" ".join(CODE_SUFFIXES)})')
            return
        targets = self.targets_of_file(path)
        allowed = self.rules.may_use(own, targets)
        for line, kind, operand in directives(data.decode('latin-1')):
            where = f'{rel}:{line}'
            literal = re.fullmatch(r'"([^"]+)"|<([^>]+)>', operand)
            if not literal:
                self.failures.append(f'{where}: #{kind} {operand}: the target is no literal "..." or <...>')
                continue
            spelled = literal.group(1) or literal.group(2)
            if os.path.isabs(spelled) or '\\' in spelled or '..' in spelled.split('/'):
                self.failures.append(f'{where}: #{kind} {operand}: no "..", absolute path or backslash; '
                                     'name the file by its layer folder')
                continue
            found = self.resolve(spelled, literal.group(1) is not None, os.path.dirname(path))
            if found is None:
                self.failures.append(f'{where}: #{kind} {operand}: no such file beside it, in the source '
                                     'tree or in the system, Qt and package include folders')
                continue
            theirs = self.classify(found)
            if theirs is None or theirs == own:
                continue
            if theirs in LIBRARIES:
                if not self.rules.uses(own, targets, theirs):
                    self.failures.append(f'{where}: {own} includes {theirs} ({operand}), which it may not use')
            elif theirs.startswith('!'):
                self.failures.append(f'{where}: {own} includes {theirs[1:]}, which belongs to no layer')
            elif theirs not in allowed:
                self.failures.append(f'{where}: {own} includes {operand} of {theirs}, which it may not use')

    def check_includes(self):
        root = self.config.root
        seen = set()
        for layer in self.layers:
            for folder, dirs, files in os.walk(os.path.join(root, layer)):
                dirs.sort()
                for name in sorted(files):
                    path = os.path.join(folder, name)
                    rel = os.path.relpath(path, root)
                    if path not in seen:
                        seen.add(path)
                        self.check_file(path, rel, layer_of(rel, self.layers))

    def check_links(self):
        config, rules = self.config, self.rules
        for name, (kind, folder) in sorted(config.targets.items()):
            own = self.layer_of_folder(folder)
            if own is None:
                continue  # tests and other projects' own targets: see LayerViews.cmake
            allowed = rules.may_use(own, {name})
            for item in config.links[name]:
                library = None if item in config.targets else library_of(item)
                if library is not None:
                    if not rules.uses(own, {name}, library):
                        self.failures.append(f'{name} ({own}) links {item}, and {own} may not use {library}')
                elif item in config.targets:
                    theirs = self.layer_of_folder(config.targets[item][1])
                    if theirs not in allowed:
                        folder_name = theirs or os.path.relpath(config.targets[item][1], config.root)
                        self.failures.append(f'{name} ({own}) links {item} of {folder_name}, '
                                             f'which {own} may not use')
            qt = self.reaches_qt(name, set())
            if qt and not rules.qt_reach(own, {name}):
                self.failures.append(f'{name} ({own}) reaches {qt} through its links, so Qt headers '
                                     f'compile in it, and nothing {own} may use says Qt')

    def reaches_qt(self, name, seen):
        seen.add(name)
        for item in self.config.links.get(name, []):
            if item.startswith('Qt6::'):
                return item
            if item in self.config.targets and item not in seen:
                found = self.reaches_qt(item, seen)
                if found:
                    return found
        return None

    def check_order(self):
        if self.config.layers is not None and self.config.layers != self.layers:
            self.failures.append('CHRONO_LAYERS (' + ' '.join(self.config.layers) + ') and the table (' +
                                 ' '.join(self.layers) + ') differ')

    def views(self):
        """Folder sets per target: a layer target sees what its layer may
        reach; a test program what the targets it links may reach, and the
        tests."""
        config, rules = self.config, self.rules
        views, labels = {}, {}
        for name, (kind, folder) in config.targets.items():
            own = self.layer_of_folder(folder)
            if own is not None:
                views[name] = rules.view(own, {name})
                labels[name] = own.replace('/', '-') if views[name] == rules.view(own, None) else name

        def linked(name, seen):
            if name in seen or name not in config.targets:
                return set()
            seen.add(name)
            result = set(views.get(name, set()))
            for item in config.links[name]:
                result |= linked(item, seen)
            return result

        for name, (kind, folder) in config.targets.items():
            rel = os.path.relpath(folder, config.root)
            if rel == 'tests' or rel.startswith('tests/'):
                views[name] = linked(name, set()) | {'tests'}
                labels[name] = name
        return {name: (labels[name], folders) for name, folders in views.items()}


def write_views(checker, out):
    base = os.path.join(out, 'views')
    shutil.rmtree(base, ignore_errors=True)
    lines = []
    made = {}
    for name, (label, folders) in sorted(checker.views().items()):
        if checker.config.targets[name][0] in NOT_CODE | {'INTERFACE_LIBRARY'}:
            continue
        key = tuple(sorted(folders))
        if key not in made:
            view = os.path.join(base, label)
            for folder in key:
                link = os.path.join(view, folder)
                os.makedirs(os.path.dirname(link), exist_ok=True)
                os.symlink(os.path.join(checker.config.root, folder), link)
            with open(os.path.join(view, 'VIEW.txt'), 'w') as f:
                f.write('\n'.join(key) + '\n')
            made[key] = view
        lines.append(f'set_property(TARGET {name} APPEND PROPERTY INCLUDE_DIRECTORIES "{made[key]}")\n')
    with open(os.path.join(out, 'views.cmake'), 'w') as f:
        f.writelines(lines)


def main(argv):
    if len(argv) < 3 or argv[1] not in ('check', 'views') or (argv[1] == 'views') != (len(argv) == 4):
        print(__doc__, file=sys.stderr)
        return 2
    checker = Checker(Config(argv[2]))
    if argv[1] == 'views':
        if checker.failures:
            print('\n'.join(checker.failures), file=sys.stderr)
            return 1
        write_views(checker, argv[3])
        return 0
    checker.check_order()
    checker.check_includes()
    checker.check_links()
    if checker.failures:
        print('Across the layers:\n' + '\n'.join(checker.failures))
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
