#!/usr/bin/env python3
"""Fails when a unity build could put two file-local names into one unit.

A unity build compiles a target's files in batches, each batch one
translation unit. What one file declares file-locally is then seen by the
files after it in the batch, and where the batches split moves whenever a
file is added. So, within one target:

  * a name declared file-locally may be declared file-locally in one file
    only. File-local are the names declared directly in an anonymous
    namespace (functions, variables, constants, classes, structs, unions,
    enums, aliases, the enumerators of unscoped enums), the static
    functions and variables at namespace scope, and the const objects there
    that no included header declares extern. Overloads count: two files
    with a local Trim clash whatever their parameters;
  * a file-local name must not also be declared at namespace scope by a
    header that a file of the target includes, or by another file of it, in
    the same namespace or one around it: a call in one file could bind to the
    other file's function;
  * no using-directive (using namespace X;) at namespace scope in a source
    file: it would reach every later file of the batch. Test programs may
    hold them: each one tests one layer, and its files open the layer's own
    namespace or a test helper's that they share.

One alias declared alike in several files is allowed: a unit may repeat it.
Class members and what functions declare inside are not file-local names.
The scanner reads the sources as they are, without a compiler: comments,
strings and preprocessor lines are dropped, and both branches of an #if
are read.

Which files form one target comes from the record of the targets that the
configure step writes (cmake/LayerViews.cmake, <build>/layers/targets.tsv).

  python3 CheckLocalNames.py --root <source folder> --manifest <file>
  python3 CheckLocalNames.py --self-test
"""

import argparse
import os
import re
import sys
import tempfile
from collections import defaultdict

# --- Tokens -----------------------------------------------------------------

_TOKEN = re.compile(r"""
    (?P<directive>^[ \t]*\#(?:[^\n\\]|\\.)*)
  | (?P<space>[ \t\r\f\v]*\n|[ \t\r\f\v]+)
  | (?P<comment>//[^\n]*|/\*.*?\*/)
  | (?P<raw>(?:u8|u|U|L)?R"(?P<delim>[^()\\\s]{0,16})\()
  | (?P<string>(?:u8|u|U|L)?"(?:[^"\\\n]|\\.)*")
  | (?P<char>(?:u8|u|U|L)?'(?:[^'\\\n]|\\.)*')
  | (?P<number>\.?[0-9](?:'?[0-9a-zA-Z_.]|[eEpP][+-])*)
  | (?P<ident>[A-Za-z_][A-Za-z_0-9]*)
  | (?P<punct>::|->\*?|\.\.\.|\.\*|<<=?|>>=?|[-+*/%^&|<>=!]=|&&|\|\||\+\+|--|<=>|.)
""", re.VERBOSE | re.DOTALL | re.MULTILINE)


def tokenize(text):
    """Returns (kind, value, line) tuples without comments, string and
    character literals (each one token "STR"), or preprocessor lines; the
    includes are returned beside them."""
    tokens = []
    includes = []
    pos = 0
    line = 1
    end = len(text)
    while pos < end:
        m = _TOKEN.match(text, pos)
        if m is None:  # a stray byte: skip it
            pos += 1
            continue
        kind = m.lastgroup
        value = m.group(0)
        if kind == "raw":  # R"delim( ... )delim"
            close = text.find(")" + m.group("delim") + '"', m.end())
            value = text[pos:] if close < 0 else text[pos:close + len(m.group("delim")) + 2]
            tokens.append(("str", "STR", line))
        elif kind == "directive":
            inc = re.match(r'[ \t]*#[ \t]*include[ \t]*"([^"]+)"', value)
            if inc:
                includes.append(inc.group(1))
        elif kind in ("string", "char"):
            tokens.append(("str", "STR", line))
        elif kind in ("ident", "number", "punct"):
            tokens.append((kind, value, line))
        line += value.count("\n")
        pos += len(value)
    return tokens, includes


# --- Declarations at namespace scope -----------------------------------------

_CLASS_KEYS = {"class", "struct", "union", "enum"}
_SKIP_CALLS = {"decltype", "alignas", "__attribute__", "__declspec", "noexcept", "requires",
               "sizeof", "alignof", "static_assert", "typeof", "__typeof__", "explicit"}
_NOT_NAMES = {"const", "constexpr", "consteval", "constinit", "volatile", "inline", "static",
              "extern", "mutable", "thread_local", "auto", "void", "int", "char", "bool", "short",
              "long", "unsigned", "signed", "float", "double", "final", "override", "noexcept",
              "typename", "template", "operator", "STR", "wchar_t", "char8_t", "char16_t",
              "char32_t", "nullptr", "true", "false", "return", "default", "delete", "this"}


class Decl:
    __slots__ = ("name", "line", "local", "namespace", "kind", "by_const", "aliased")

    def __init__(self, name, line, local, namespace, kind, by_const=False):
        self.name = name
        self.line = line
        self.local = local          # file-local: anonymous namespace, static or const
        self.namespace = namespace  # the named namespaces around it, "a::b"
        self.kind = kind
        self.by_const = by_const    # local only as a const object: an extern declaration makes it global
        self.aliased = None         # an alias's type, as written


class FileScan:
    def __init__(self):
        self.decls = []
        self.directives = []  # (namespace used, line)
        self.includes = []
        self.problems = []


def _is_macro_name(value):
    return value.isupper() or (value.upper() == value and "_" in value)


def _skip_group(tokens, i, open_, close):
    """Index after the group that opens at tokens[i]."""
    depth = 0
    n = len(tokens)
    while i < n:
        v = tokens[i][1]
        if v == open_:
            depth += 1
        elif v == close:
            depth -= 1
            if depth == 0:
                return i + 1
        i += 1
    return n


def _skip_angles(tokens, i):
    """Index after the template argument list that opens at tokens[i]."""
    depth = 0
    n = len(tokens)
    while i < n:
        v = tokens[i][1]
        if v in "([{":
            i = _skip_group(tokens, i, v, {"(": ")", "[": "]", "{": "}"}[v])
            continue
        if v == "<":
            depth += 1
        elif v == ">":
            depth -= 1
        elif v == ">>":
            depth -= 2
        elif v in (";", "}"):
            return i
        i += 1
        if depth <= 0:
            return i
    return n


def _clean(stmt):
    """Drops attributes, leading macro calls and the template head, and
    folds decltype(...) and the like into one token."""
    out = []
    i = 0
    n = len(stmt)
    while i < n:
        kind, v, line = stmt[i]
        if v == "[" and i + 1 < n and stmt[i + 1][1] == "[":
            i = _skip_group(stmt, i, "[", "]")
            continue
        if v == "operator":
            # operator==, operator(), operator new: one name token
            j = i + 1
            if j + 1 < n and stmt[j][1] == "(" and stmt[j + 1][1] == ")":
                j += 2
            while j < n and stmt[j][1] != "(":
                j += 1
            out.append(("ident", "operator" + "".join(t[1] for t in stmt[i + 1:j]), line))
            i = j
            continue
        if v in _SKIP_CALLS and i + 1 < n and stmt[i + 1][1] == "(":
            out.append((kind, v, line))
            i = _skip_group(stmt, i + 1, "(", ")")
            continue
        out.append(stmt[i])
        i += 1
    # Leading macro calls (TEST_F(a, b), Q_DECLARE_METATYPE(x)) and template heads.
    while out:
        if out[0][1] == "template" and len(out) > 1 and out[1][1] == "<":
            out = out[_skip_angles(out, 1):]
        elif (out[0][0] == "ident" and _is_macro_name(out[0][1]) and len(out) > 1
              and out[1][1] == "("):
            out = out[_skip_group(out, 1, "(", ")"):]
        else:
            break
    return out


def _declarators(stmt, start):
    """Yields (name, line, is_function) for each declarator from stmt[start]."""
    i = start
    n = len(stmt)
    prev = None
    while i < n:
        kind, v, line = stmt[i]
        if v == "<" and prev is not None and prev[0] == "ident":
            i = _skip_angles(stmt, i)
            prev = ("punct", ">", line)
            continue
        if v == "(" and prev is not None and prev[0] == "ident" and prev[1] not in _NOT_NAMES:
            if _qualified(stmt, i - 1):
                return
            yield prev[1], prev[2], True
            return  # functions and objects initialised with () have one declarator here
        if v == "(" and i + 1 < n and stmt[i + 1][1] in ("*", "&"):
            # a pointer to function: the name is inside
            j = i + 1
            while j < n and stmt[j][1] in ("*", "&", "const"):
                j += 1
            if j < n and stmt[j][0] == "ident":
                yield stmt[j][1], stmt[j][2], False
            return
        if v in ("=", "[", "{", ";", ",", ":") and prev is not None and prev[0] == "ident" \
                and prev[1] not in _NOT_NAMES:
            if not _qualified(stmt, i - 1):
                yield prev[1], prev[2], False
            if v == ",":
                prev = None
                i += 1
                continue
            # skip the initialiser to the next declarator
            j = i
            while j < n:
                w = stmt[j][1]
                if w in "([{":
                    j = _skip_group(stmt, j, w, {"(": ")", "[": "]", "{": "}"}[w])
                    continue
                if w == ",":
                    break
                j += 1
            if j >= n:
                return
            # a comma after "= x < y" could sit inside template arguments;
            # trust it only where no "<" came before it
            if any(t[1] == "<" for t in stmt[i:j]):
                return
            i = j + 1
            prev = None
            continue
        if v == "(":
            return
        prev = stmt[i]
        i += 1
    if prev is not None and prev[0] == "ident" and prev[1] not in _NOT_NAMES \
            and not _qualified(stmt, n - 1):
        yield prev[1], prev[2], False


def _qualified(stmt, i):
    return stmt[i][1].startswith("operator") or (i > 0 and stmt[i - 1][1] in ("::", "~", ".", "->"))


def _enumerators(body):
    names = []
    expect = True
    depth = 0
    for kind, v, line in body:
        if v in "([{":
            depth += 1
        elif v in ")]}":
            depth -= 1
        elif depth == 0 and v == ",":
            expect = True
            continue
        if expect and depth == 0 and kind == "ident":
            names.append((v, line))
            expect = False
    return names


def scan(text):
    tokens, includes = tokenize(text)
    result = FileScan()
    result.includes = includes
    # Scope stack of the namespaces: (name or "" for anonymous, or None for extern "C").
    stack = []
    stmt = []
    i = 0
    n = len(tokens)

    def anonymous():
        return any(s == "" for s in stack)

    def named():
        return "::".join(s for s in stack if s)

    def declare(name, line, local, kind, by_const=False):
        result.decls.append(Decl(name, line, local, named(), kind, by_const))

    def finish(st, body=None, class_decl=None):
        """Records the names a statement at namespace scope declares."""
        st = _clean(st)
        if not st:
            return
        first = st[0][1]
        local_ns = anonymous()
        if first == "using":
            if len(st) > 1 and st[1][1] == "namespace":
                result.directives.append(("".join(t[1] for t in st[2:-1]), st[0][2]))
            elif len(st) > 2 and st[1][0] == "ident" and st[2][1] == "=":
                declare(st[1][1], st[1][2], local_ns, "alias")
                result.decls[-1].aliased = " ".join(t[1] for t in st[3:])
            return
        if first == "namespace":  # a namespace alias
            if len(st) > 2 and st[2][1] == "=":
                declare(st[1][1], st[1][2], local_ns, "alias")
            return
        if first in ("static_assert", "friend"):
            return
        if first == "typedef":
            for name, line, _ in _declarators(st, 1):
                declare(name, line, local_ns, "alias")
            return
        values = [t[1] for t in st]
        static = "static" in values[: next((k for k, v in enumerate(values) if v in ("(", "=", "{")),
                                           len(values))]
        if class_decl is not None:
            key_index, name_tok, scoped = class_decl
            if name_tok is not None:
                declare(name_tok[1], name_tok[2], local_ns, "type")
            if body is not None and values[key_index] == "enum" and not scoped:
                for ename, eline in _enumerators(body):
                    declare(ename, eline, local_ns, "enumerator")
            # declarators after the body: struct { ... } table[] = ...;
            rest = st[st.index(("punct", "}", -1)) + 1:] if ("punct", "}", -1) in st else []
            if [t[1] for t in rest] != [";"]:
                for name, line, _ in _declarators([("ident", "X", 0)] + rest, 0):
                    declare(name, line, local_ns or static, "variable")
            return
        key = _class_head(st)
        if key is not None and "(" not in values[:key[0] + 3]:
            if values[-1] == ";" and len(values) <= key[0] + 4 and key[1] is not None:
                declare(key[1][1], key[1][2], local_ns, "type")  # struct X;
                return
        spec = values[: next((k for k, v in enumerate(values) if v in ("(", "=", "[", "{", ";", ",")),
                             len(values))]
        # a const object at namespace scope has internal linkage unless
        # inline or extern
        const = ("constexpr" in spec or ("const" in spec and ("*" not in spec or spec[-2:-1] == ["const"]))) \
            and "inline" not in spec and "extern" not in spec
        for name, line, is_function in _declarators(st, 0):
            if name == st[0][1] and _is_macro_name(name):
                continue  # a macro's call
            by_const = const and not is_function and not (local_ns or static)
            declare(name, line, local_ns or static or by_const,
                    "function" if is_function else "variable", by_const)

    while i < n:
        kind, v, line = tokens[i]
        if v == ";":
            finish(stmt + [tokens[i]])
            stmt = []
            i += 1
            continue
        if v == "}":
            if stmt:
                finish(stmt)
                stmt = []
            if stack:
                stack.pop()
            else:
                result.problems.append(f"line {line}: unmatched '}}'")
            i += 1
            continue
        if v in ("(", "["):
            j = _skip_group(tokens, i, v, ")" if v == "(" else "]")
            stmt.extend(tokens[i:j])
            i = j
            continue
        if v != "{":
            stmt.append(tokens[i])
            i += 1
            continue
        # An opening brace at namespace scope.
        cleaned = _clean(stmt)
        values = [t[1] for t in cleaned]
        if values[:1] == ["inline"]:
            values = values[1:]
        if values[:1] == ["namespace"]:
            name = "".join(values[1:])
            stack.append(name)
            stmt = []
            i += 1
            continue
        if values[:1] == ["extern"] and values[1:] == ["STR"]:
            stack.append(None)  # extern "C" { ... }: no scope of its own
            stmt = []
            i += 1
            continue
        key = _class_head(cleaned, body_follows=True)
        top = _top_level(cleaned)
        if key is not None:
            j = _skip_group(tokens, i, "{", "}")
            body = tokens[i + 1:j - 1]
            key_index, name_tok, scoped = key
            # the rest of the statement: declarators, up to ';'
            k = j
            rest = []
            while k < n and tokens[k][1] != ";":
                if tokens[k][1] in "([{":
                    e = _skip_group(tokens, k, tokens[k][1],
                                    {"(": ")", "[": "]", "{": "}"}[tokens[k][1]])
                    rest.extend(tokens[k:e])
                    k = e
                    continue
                rest.append(tokens[k])
                k += 1
            full = cleaned + [("punct", "}", -1)] + rest + [("punct", ";", -1)]
            finish(full, body=body, class_decl=key)
            stmt = []
            i = k + 1
            continue
        j = _skip_group(tokens, i, "{", "}")
        if "=" in top or ("(" not in top and cleaned):
            # an initialiser: = { ... } or x{ ... }; the statement goes on
            stmt.extend(tokens[i:j])
            i = j
            continue
        if "(" in top and _ctor_init(cleaned):
            # Foo::Foo() : a{1}, b{} { ... }: a member's initialiser, the body comes later
            stmt.extend(tokens[i:j])
            i = j
            continue
        # a function's body (or a macro's block): the statement ends with it
        finish(stmt)
        stmt = []
        i = j
    if stack:
        result.problems.append("unclosed namespace at the end")
    return result


def _ctor_init(cleaned):
    """True while a constructor's member initialisers are still open: the
    statement holds "):" and does not end in ")" or "}" yet."""
    values = [t[1] for t in cleaned]
    for k in range(len(values) - 1):
        if values[k] == ")" and values[k + 1] == ":":
            return values[-1] not in (")", "}")
    return False


def _top_level(stmt):
    """The values of a statement's tokens outside brackets."""
    out = []
    depth = 0
    for kind, v, line in stmt:
        if v in "([{":
            if depth == 0:
                out.append(v)
            depth += 1
        elif v in ")]}":
            depth -= 1
        elif depth == 0:
            out.append(v)
    return out


def _class_head(stmt, body_follows=False):
    """(index of the class key, name token or None, scoped enum) when the
    statement starts a class, struct, union or enum (with body_follows:
    when the brace after it opens the class's body, not a function's)."""
    for k, (kind, v, line) in enumerate(stmt):
        if v in _CLASS_KEYS:
            j = k + 1
            scoped = False
            if v == "enum" and j < len(stmt) and stmt[j][1] in ("class", "struct"):
                scoped = True
                j += 1
            while j < len(stmt) and stmt[j][0] == "ident" and _is_macro_name(stmt[j][1]) \
                    and j + 1 < len(stmt) and stmt[j + 1][0] == "ident":
                j += 1  # an export macro
            name = stmt[j] if j < len(stmt) and stmt[j][0] == "ident" \
                and stmt[j][1] not in ("final",) else None
            if name is not None and j + 1 < len(stmt) and stmt[j + 1][1] == "::":
                name = None  # a nested class defined outside
            if body_follows:
                after = j + 1 if name is not None else j
                if after < len(stmt) and stmt[after][1] not in (":", "final", "<"):
                    return None  # struct X f() {: a function
            return k, name, scoped
        if v in ("(", "=", "<"):
            return None
    return None


# --- The check -----------------------------------------------------------------

def read_manifest(path):
    """The C++ sources of each target, from the record of the targets that
    the configure step writes (cmake/LayerViews.cmake): "target" rows give a
    target's folder, "source" rows its sources as CMake holds them."""
    targets = defaultdict(list)
    folders = {}
    with open(path, encoding="utf-8") as f:
        for row in f:
            fields = row.rstrip("\n").split("\t")
            if fields[0] == "target" and len(fields) >= 4:
                folders[fields[1]] = fields[3]
            elif fields[0] == "source" and len(fields) >= 3:
                target, source = fields[1], fields[2]
                if source.startswith("$<") or not source.endswith((".cpp", ".cc", ".cxx")):
                    continue  # generator expressions, headers, resources
                source = os.path.normpath(os.path.join(folders.get(target, ""), source))
                if source not in targets[target]:
                    targets[target].append(source)
    return targets


class Checker:
    def __init__(self, root):
        self.root = os.path.realpath(root)
        self.scans = {}

    def rel(self, path):
        return os.path.relpath(path, self.root)

    def scan_file(self, path):
        found = self.scans.get(path)
        if found is None:
            try:
                with open(path, encoding="utf-8", errors="replace") as f:
                    found = scan(f.read())
            except OSError as error:
                found = FileScan()
                found.problems.append(str(error))
            self.scans[path] = found
        return found

    def headers_of(self, path, seen):
        """The project headers a file includes, transitively."""
        for inc in self.scan_file(path).includes:
            for base in (os.path.dirname(path), self.root):
                candidate = os.path.normpath(os.path.join(base, inc))
                if os.path.isfile(candidate):
                    if candidate not in seen:
                        seen.add(candidate)
                        self.headers_of(candidate, seen)
                    break

    def check(self, targets):
        failures = []
        for target in sorted(targets):
            sources = targets[target]
            is_test = all(self.rel(s).startswith("tests" + os.sep) for s in sources)
            locals_ = defaultdict(dict)      # name -> {file: decl}
            globals_ = defaultdict(list)     # name -> [(file, decl)]
            headers = set()
            for source in sources:
                if not os.path.isfile(source):
                    failures.append(f"{self.rel(source)}: in the manifest but missing; configure again")
                    continue
                result = self.scan_file(source)
                for problem in result.problems:
                    failures.append(f"{self.rel(source)}: cannot follow the braces: {problem}")
                own_headers = set()
                self.headers_of(source, own_headers)
                headers |= own_headers
                declared_extern = {(d.name, d.namespace) for h in own_headers
                                   for d in self.scan_file(h).decls if not d.local}
                for decl in result.decls:
                    if decl.by_const and (decl.name, decl.namespace) in declared_extern:
                        continue  # defines what a header declares extern
                    if decl.local:
                        locals_[decl.name].setdefault(source, decl)
                    else:
                        globals_[decl.name].append((source, decl))
                for used, line in result.directives:
                    if is_test:
                        continue
                    failures.append(
                        f"{self.rel(source)}:{line}: 'using namespace {used};' at namespace scope "
                        f"reaches the files after it in a unity batch of target {target}; "
                        "qualify the names or put it inside the functions")
            for header in sorted(headers):
                for decl in self.scan_file(header).decls:
                    if not decl.local:
                        globals_[decl.name].append((header, decl))
            for name in sorted(locals_):
                files = locals_[name]
                if len({d.aliased for d in files.values()} - {None}) == 1 \
                        and all(d.aliased for d in files.values()):
                    files = {}  # one alias, spelt alike: a unit may repeat it
                if len(files) > 1:
                    where = "\n".join(f"    {self.rel(f)}:{d.line}" for f, d in sorted(files.items()))
                    failures.append(f"'{name}' is file-local in {len(files)} files of target "
                                    f"{target}; give each its own name or share one helper:\n{where}")
                for source, local in sorted(files.items()):
                    for other, decl in globals_.get(name, ()):
                        if other == source:
                            continue
                        ns = local.namespace
                        if decl.namespace == ns or ns.startswith(decl.namespace + "::") \
                                or decl.namespace == "":
                            failures.append(
                                f"'{name}' is file-local in {self.rel(source)}:{local.line} and "
                                f"declared in {decl.namespace or 'the global namespace'} by "
                                f"{self.rel(other)}:{decl.line} (target {target}); rename the "
                                "local one")
                            break
        return failures


def self_test():
    """Planted files with a shared local name, static twins, an enumerator
    against a constant, a local hiding a header's function and a leaking
    using-directive must give exactly these failures, and no more: not the
    names in comments, strings, classes and functions, nor the alias that
    two files spell alike."""
    files = {
        "a/One.cpp": """
            #include "a/Api.h"
            namespace app {
            namespace {
            // Trim in a comment, "Trim" in a string
            std::string Trim(const std::string& s) { return s; }
            using Bytes = std::vector<unsigned char>;
            enum Mode { kModeA, kModeB };
            struct Row { int x; };
            }  // namespace
            static int Count(int x) { return x; }
            void Api::Run() { static int calls = 0; ++calls; }
            }  // namespace app
            """,
        "a/Two.cpp": """
            #include "a/Api.h"
            using namespace app;
            namespace {
            QString Trim(QString s, int width = 3) { return s; }
            using Bytes = std::vector<unsigned char>;
            const char* kModeA = R"(a "raw" } string)";
            }
            static int Count(double x) { return 1; }
            class Local { static int Count(); };
            """,
        "a/Three.cpp": """
            #include "a/Api.h"
            namespace app {
            namespace { int Helper() { return 1; } int Row2 = 0; }
            TEST_F(Fixture, Runs) { int Trim = 0; }
            }
            """,
        "a/Api.h": """
            #pragma once
            namespace app { class Api { public: void Run(); }; int Helper(int); }
            """,
    }
    with tempfile.TemporaryDirectory() as root:
        for name, text in files.items():
            os.makedirs(os.path.join(root, os.path.dirname(name)), exist_ok=True)
            with open(os.path.join(root, name), "w", encoding="utf-8") as f:
                f.write(text)
        manifest = os.path.join(root, "targets.tsv")
        with open(manifest, "w", encoding="utf-8") as f:
            f.write(f"target\tplanted\tSTATIC_LIBRARY\t{root}\n")
            for name in files:
                f.write(f"source\tplanted\t{name}\n")
        failures = Checker(root).check(read_manifest(manifest))
    expected = [("'Count' is file-local in 2 files",),
                ("'Helper' is file-local in a/Three.cpp", "a/Api.h"),
                ("'Trim' is file-local in 2 files", "a/One.cpp:6", "a/Two.cpp:5"),
                ("'kModeA' is file-local in 2 files", "a/One.cpp:8", "a/Two.cpp:7"),
                ("a/Two.cpp:3: 'using namespace app;'",)]
    missing = [e for e in expected if not any(all(part in f for part in e) for f in failures)]
    if missing or len(failures) != len(expected):
        print("LocalNames self-test failed. Found:", *failures, "Expected:",
              *(" / ".join(e) for e in expected), sep="\n  ")
        return 1
    print(f"LocalNames self-test: the planted clashes were found ({len(failures)}).")
    return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--root")
    parser.add_argument("--manifest")
    parser.add_argument("--self-test", action="store_true")
    args = parser.parse_args()
    if args.self_test:
        return self_test()
    if not args.root or not args.manifest:
        parser.error("--root and --manifest are needed")
    targets = read_manifest(args.manifest)
    failures = Checker(args.root).check(targets)
    for failure in failures:
        print(failure)
    if failures:
        print(f"LocalNames: {len(failures)} problem(s) in {len(targets)} targets.")
        return 1
    print(f"LocalNames: no file-local name twice in any of {len(targets)} targets.")
    return 0


if __name__ == "__main__":
    sys.exit(main())
