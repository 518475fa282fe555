#!/usr/bin/env python3
"""Names that would meet in one unit of the unity build.

The build compiles the .cpp files of a folder (a library part, a test program) in batches, each
batch one translation unit. Two files of one batch that define the same file-local name (in an
anonymous namespace, or `static` at namespace scope) then share it: variables and classes fail
to compile, but functions with other parameter types become overloads and a call may silently
take the other file's function. A macro a file defines and does not #undef reaches the files after
it. This script lists both for every group of files that can share a batch and exits 1 when it
finds any.

    scripts/check_unity_names.py [ROOT]      # the project's tree, by default this script's
    scripts/check_unity_names.py --self-test # shows that it finds a clash it must find
"""
import os
import re
import sys
import tempfile

KEYWORDS = {
    "alignas", "alignof", "const", "constexpr", "consteval", "constinit", "decltype", "inline",
    "noexcept", "operator", "return", "sizeof", "static", "static_assert", "template", "thread_local",
    "typename", "volatile", "extern", "mutable", "explicit", "virtual", "unsigned", "signed",
    "void", "int", "char", "bool", "double", "float", "long", "short", "auto", "if", "for", "while",
    "switch", "requires", "final", "override",
}
TOKEN = re.compile(r"[A-Za-z_]\w*|::|\S")


def strip(text):
    """The text without comments, string and character literals; preprocessor lines apart."""
    out, macros, i, n = [], [], 0, len(text)
    line_start = True
    while i < n:
        c = text[i]
        if line_start and c == "#":
            j = i
            while True:  # a directive with its continuation lines
                k = text.find("\n", j)
                k = n if k < 0 else k
                if k > 0 and text[k - 1] == "\\":
                    j = k + 1
                    continue
                break
            macros.append(text[i:k])
            out.append("\n")
            i = k + 1
            continue
        if c == "\n":
            line_start = True
            out.append(c)
            i += 1
            continue
        if not c.isspace():
            line_start = False
        if text.startswith("//", i):
            k = text.find("\n", i)
            i = n if k < 0 else k
        elif text.startswith("/*", i):
            k = text.find("*/", i + 2)
            i = n if k < 0 else k + 2
            out.append(" ")
        elif c == "R" and text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")):
            d = text.index("(", i + 2)
            end = ")" + text[i + 2:d] + '"'
            k = text.find(end, d)
            i = n if k < 0 else k + len(end)
            out.append('""')
        elif c in "\"'":
            if c == "'" and i > 0 and text[i - 1].isalnum():  # a digit separator: 1'000
                i += 1
                continue
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            i = j + 1
            out.append('""')
        else:
            out.append(c)
            i += 1
    return "".join(out), macros


def declared_name(header):
    """The name a namespace-scope declaration (its tokens up to ; or its body) introduces."""
    toks = [t for t in header if t not in ("[[", "]]")]
    while toks[:2] == ["template", "<"]:  # its parameters are not what it declares
        depth, k = 0, 1
        for k in range(1, len(toks)):
            depth += (toks[k] == "<") - (toks[k] == ">")
            if depth == 0:
                break
        toks = toks[k + 1:]
    for k, t in enumerate(toks):
        if t in ("class", "struct", "union", "enum"):
            rest = [x for x in toks[k + 1:] if x not in ("class", "struct")]
            if rest and re.match(r"[A-Za-z_]", rest[0]) and (len(rest) == 1 or rest[1] != "::"):
                return rest[0]
            return None
    if toks[:1] == ["using"]:
        return toks[1] if len(toks) > 2 and toks[2] == "=" else None
    if toks[:1] == ["typedef"]:
        names = [x for x in toks if re.match(r"[A-Za-z_]", x)]
        return names[-1] if names else None
    depth, first_paren, first_eq = 0, None, None
    for k, t in enumerate(toks):
        if t in "(<[":
            if t == "(" and depth == 0 and first_paren is None:
                first_paren = k
            depth += 1 if t != "<" else 0
        elif t in ")]":
            depth -= 1
        elif t == "=" and depth == 0 and first_eq is None:
            first_eq = k
    cut = first_paren if first_paren is not None and (first_eq is None or first_paren < first_eq) else first_eq
    if cut is None:
        cut = len(toks)
    k = cut - 1
    while k >= 0 and toks[k] == "]":  # an array: name[N]
        while k >= 0 and toks[k] != "[":
            k -= 1
        k -= 1
    if k < 0 or not re.match(r"[A-Za-z_]\w*$", toks[k]) or toks[k] in KEYWORDS:
        return None
    if k == 0 and first_paren == cut:
        return None  # no type before the name: a macro such as TEST(...) { ... }
    if k > 0 and toks[k - 1] in ("::", "operator", "~"):
        return None  # a member defined out of its class, or an operator
    return toks[k]


def assigns(header):
    """Whether a declaration's tokens hold an = outside parentheses (not a default argument)."""
    depth = 0
    for t in header:
        depth += (t in "([") - (t in ")]")
        if t == "=" and depth == 0:
            return True
    return False


def file_local_names(text):
    """The file-local names of a source file (qualified by their named namespaces), and the macros
    it leaves defined."""
    code, directives = strip(text)
    defined = {}
    for d in directives:
        m = re.match(r"#\s*(define|undef)\s+([A-Za-z_]\w*)", d)
        if m and m.group(1) == "define":
            defined[m.group(2)] = True
        elif m:
            defined.pop(m.group(2), None)
    names = set()
    toks = TOKEN.findall(code)
    scopes = []  # ('ns', name) | ('anon',) | ('linkage',) | ('block',)
    header = []

    def register(header):
        if not header:
            return
        name = declared_name(header)
        if name and (any(s[0] == "anon" for s in scopes) or "static" in header):
            names.add("::".join([s[1] for s in scopes if s[0] == "ns"] + [name]))

    i = 0
    while i < len(toks):
        t = toks[i]
        at_namespace_scope = all(s[0] != "block" for s in scopes)
        if not at_namespace_scope:
            if t == "{":
                scopes.append(("block",))
            elif t == "}":
                scopes.pop()
            i += 1
            continue
        if t == "namespace" and not header:
            j, parts = i + 1, []
            while j < len(toks) and toks[j] not in ("{", "=", ";"):
                if toks[j] not in ("::", "inline"):
                    parts.append(toks[j])
                j += 1
            if j < len(toks) and toks[j] == "{":
                scopes.extend([("ns", p) for p in parts] or [("anon",)])
                if len(parts) > 1:  # namespace a::b { ... } closes with one brace
                    scopes[-len(parts):] = [("ns", "::".join(parts))]
                i = j + 1
                continue
            while j < len(toks) and toks[j] != ";":
                j += 1
            i = j + 1
            continue
        if t == "extern" and i + 2 < len(toks) and toks[i + 1] == '""' and toks[i + 2] == "{" and not header:
            scopes.append(("linkage",))
            i += 3
            continue
        if t == "}":
            scopes.pop()
            header = []
            i += 1
            continue
        if t == ";":
            register(header)
            header = []
            i += 1
            continue
        if t == "{":
            if assigns(header):  # an initializer: skip it, the statement goes on to its ;
                depth = 0
                while i < len(toks):
                    depth += toks[i] == "{"
                    depth -= toks[i] == "}"
                    i += 1
                    if depth == 0:
                        break
                continue
            register(header)
            scopes.append(("block",))
            header = []
            i += 1
            continue
        header.append(t)
        i += 1
    return names, sorted(defined)


def groups(root):
    """The groups of files that the build can put into one batch: a library part is every .cpp
    below one folder of a layer (platform/afx, module/figures with its makers ...), the host
    program every .cpp of host/app, a test program the .cpp files of its folder with the tests'
    support and, for host/app, the three host/app files it compiles in."""
    out = {}
    for layer in ("platform", "host", "module"):
        base = os.path.join(root, layer)
        if not os.path.isdir(base):
            continue
        for part in sorted(os.listdir(base)):
            files = []
            for d, _, fs in os.walk(os.path.join(base, part)):
                files += [os.path.join(d, f) for f in fs if f.endswith(".cpp")]
            files = [f for f in files if not re.search(r"CDataBaseTables\d*\.cpp$", f)]
            if files:
                out[f"{layer}/{part}"] = sorted(files)
    support = sorted(os.path.join(root, "tests/support", f) for f in os.listdir(os.path.join(root, "tests/support"))
                     if f.endswith(".cpp")) if os.path.isdir(os.path.join(root, "tests/support")) else []
    for d, _, fs in os.walk(os.path.join(root, "tests")):
        rel = os.path.relpath(d, root)
        files = sorted(os.path.join(d, f) for f in fs if f.endswith(".cpp"))
        if not files or rel.startswith("tests/support"):
            continue
        if rel == "tests/host/app":
            files += [os.path.join(root, "host/app", f) for f in ("HostCommand.cpp", "HostOutput.cpp", "HostProgress.cpp")]
        out[rel] = files + support
    return out


def clashes(root):
    found = []
    for group, files in sorted(groups(root).items()):
        owners = {}
        for f in files:
            with open(f, encoding="utf-8", errors="replace") as fh:
                names, macros = file_local_names(fh.read())
            for name in names:
                owners.setdefault(name, []).append(os.path.relpath(f, root))
            for m in macros:
                found.append(f"{group}: macro {m} is left defined by {os.path.relpath(f, root)}")
        for name, where in sorted(owners.items()):
            if len(where) > 1:
                found.append(f"{group}: {name} is file-local in {', '.join(where)}")
    return found


def self_test():
    """Two files whose file-local functions differ in their parameters (they would overload in a
    batch), and the forms the parser must see through."""
    rows = [
        ("static functions", "static int Scale(int v) { return v * 2; }",
         "static double Scale(double v) { return v * 1e4; }", ["Scale"]),
        ("anonymous namespaces", "namespace a { namespace { void Draw(int) {} } }",
         "namespace a {\nnamespace {\ntemplate <class T> std::vector<T> Draw(const T& x, int n = 1) { return {}; }\n}\n}",
         ["a::Draw"]),
        ("other namespaces", "namespace a { namespace { int Tally() { return 1; } } }",
         "namespace b { namespace { int Tally() { return 2; } } }", []),
        ("members and globals", "namespace { struct Row { int Make(); }; }\nint Row::Make() { return 1; }",
         'int Make() { return 0; }\nconst char* kText = "namespace { int Make(); }";', []),
        ("variables and macros", "namespace { const double kTable[] = {1, 2}; }\n#define STEP 2",
         "static const double kTable[3] = {};\n#define LOCAL 1\n#undef LOCAL", ["kTable", "macro STEP"]),
    ]
    bad = 0
    for label, one, two, expected in rows:
        with tempfile.TemporaryDirectory() as d:
            os.makedirs(os.path.join(d, "module/part"))
            for name, text in (("one.cpp", one), ("two.cpp", two)):
                with open(os.path.join(d, "module/part", name), "w") as fh:
                    fh.write(text + "\n")
            got = clashes(d)
            for e in expected:
                if not any((" " + e + " ") in g for g in got):
                    print(f"self-test {label}: {e} not found in {got}")
                    bad += 1
            if len(got) != len(expected):
                print(f"self-test {label}: expected {expected}, found {got}")
                bad += 1
    print("self-test: " + ("passed" if not bad else f"{bad} failures"))
    return 1 if bad else 0


def main():
    if sys.argv[1:] == ["--self-test"]:
        return self_test()
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    found = clashes(root)
    for line in found:
        print(line)
    print(f"check_unity_names: {len(found)} names would meet in one unit of the unity build")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
