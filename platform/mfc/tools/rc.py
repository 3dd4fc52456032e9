#!/usr/bin/python3
"""Resource compiler for the Windows stand-in.

Reads a resource script (.rc) in the syntax the Windows resource compiler
accepts and writes a C++ source that carries the resources inside a module:
the resource directory under the exported symbol KvModuleResources, with the
data laid out as standin/Resources.h describes.

Understood: the preprocessor (#include, #define, #undef, #if/#ifdef/#ifndef/
#elif/#else/#endif, #pragma code_page), LANGUAGE, DIALOG and DIALOGEX with
STYLE, EXSTYLE, CAPTION, FONT, MENU, CLASS, CHARACTERISTICS and VERSION, the
control statements (LTEXT, RTEXT, CTEXT, PUSHBUTTON, DEFPUSHBUTTON, CHECKBOX,
AUTOCHECKBOX, STATE3, AUTO3STATE, RADIOBUTTON, AUTORADIOBUTTON, GROUPBOX,
EDITTEXT, COMBOBOX, LISTBOX, CONTROL), DLGINIT, STRINGTABLE, RCDATA and
user-defined raw data blocks. VERSIONINFO, MENU, ACCELERATORS and file
resources (ICON, BITMAP...) are skipped with a warning.

Usage: rc.py [-I dir]... [-D NAME[=value]]... -o out.cpp [--depfile out.d] file.rc
"""

import argparse
import os
import re
import sys


class RcError(Exception):
    def __init__(self, where, message):
        super().__init__(message)
        self.where = where
        self.message = message


# --- reading and preprocessing ----------------------------------------------

def read_text(path):
    data = open(path, 'rb').read()
    if data.startswith(b'\xff\xfe'):
        return data[2:].decode('utf-16-le')
    if data.startswith(b'\xfe\xff'):
        return data[2:].decode('utf-16-be')
    if data.startswith(b'\xef\xbb\xbf'):
        return data[3:].decode('utf-8')
    try:
        return data.decode('utf-8')
    except UnicodeDecodeError:
        return data.decode('cp1252', errors='replace')


def strip_comments(text):
    """Removes // and /* */ comments, keeping strings and line numbers."""
    out = []
    i = 0
    n = len(text)
    while i < n:
        c = text[i]
        if c == '"':
            j = i + 1
            while j < n:
                if text[j] == '"':
                    if j + 1 < n and text[j + 1] == '"':
                        j += 2
                        continue
                    break
                if text[j] == '\\' and j + 1 < n and text[j + 1] != '\n':
                    j += 2
                    continue
                if text[j] == '\n':
                    break
                j += 1
            out.append(text[i:j + 1])
            i = j + 1
        elif text.startswith('//', i):
            j = text.find('\n', i)
            i = n if j < 0 else j
        elif text.startswith('/*', i):
            j = text.find('*/', i + 2)
            chunk = text[i:n if j < 0 else j + 2]
            out.append('\n' * chunk.count('\n'))
            i = n if j < 0 else j + 2
        else:
            out.append(c)
            i += 1
    return ''.join(out)


class Preprocessor:
    def __init__(self, include_dirs, defines):
        self.include_dirs = include_dirs
        self.defines = dict(defines)
        self.files = []
        self.lines = []          # (file, line number, text) of the script body
        self.code_page = 1252
        self.warnings = []

    def find_include(self, name, current_dir, angled):
        dirs = ([] if angled else [current_dir]) + self.include_dirs
        for d in dirs:
            p = os.path.join(d, name)
            if os.path.isfile(p):
                return os.path.abspath(p)
        return None

    def run(self, path, is_script=True, depth=0):
        if depth > 32:
            raise RcError((path, 0), 'includes nested too deeply')
        path = os.path.abspath(path)
        self.files.append(path)
        text = strip_comments(read_text(path).replace('\r\n', '\n').replace('\r', '\n'))
        raw_lines = text.split('\n')
        # Join continued lines, remembering where each starts.
        lines = []
        i = 0
        while i < len(raw_lines):
            start = i
            line = raw_lines[i]
            while line.endswith('\\') and i + 1 < len(raw_lines):
                i += 1
                line = line[:-1] + raw_lines[i]
            lines.append((start + 1, line))
            i += 1
        # A stack of (active, taken, parent_active).
        stack = []
        active = True
        for number, line in lines:
            where = (path, number)
            stripped = line.strip()
            if stripped.startswith('#'):
                m = re.match(r'#\s*(\w+)\s*(.*)$', stripped)
                if not m:
                    continue
                directive, rest = m.group(1), m.group(2).strip()
                if directive in ('if', 'ifdef', 'ifndef'):
                    if not active:
                        stack.append((False, True, False))
                        continue
                    if directive == 'ifdef':
                        cond = rest.split()[0] in self.defines if rest else False
                    elif directive == 'ifndef':
                        cond = rest.split()[0] not in self.defines if rest else True
                    else:
                        cond = self.evaluate_condition(rest, where)
                    stack.append((active, cond, active))
                    active = cond
                elif directive == 'elif':
                    if not stack:
                        raise RcError(where, '#elif without #if')
                    _, taken, parent = stack.pop()
                    cond = parent and not taken and self.evaluate_condition(rest, where)
                    stack.append((parent, taken or cond, parent))
                    active = cond
                elif directive == 'else':
                    if not stack:
                        raise RcError(where, '#else without #if')
                    _, taken, parent = stack.pop()
                    stack.append((parent, True, parent))
                    active = parent and not taken
                elif directive == 'endif':
                    if not stack:
                        raise RcError(where, '#endif without #if')
                    active = stack.pop()[2]
                elif not active:
                    continue
                elif directive == 'define':
                    m2 = re.match(r'([A-Za-z_]\w*)(\(?)\s*(.*)$', rest)
                    if m2 and not m2.group(2):
                        self.defines[m2.group(1)] = m2.group(3).strip()
                elif directive == 'undef':
                    self.defines.pop(rest.split()[0] if rest else '', None)
                elif directive == 'include':
                    m2 = re.match(r'(["<])([^">]+)[">]', rest)
                    if not m2:
                        raise RcError(where, 'bad #include')
                    angled = m2.group(1) == '<'
                    found = self.find_include(m2.group(2), os.path.dirname(path), angled)
                    if found is None:
                        if angled or not is_script:
                            continue   # a system header: nothing for resources
                        raise RcError(where, 'cannot find include file "%s"' % m2.group(2))
                    lower = found.lower()
                    script = lower.endswith('.rc') or lower.endswith('.rc2') or lower.endswith('.dlg')
                    self.run(found, script, depth + 1)
                elif directive == 'pragma':
                    m2 = re.match(r'code_page\s*\(\s*(\w+)\s*\)', rest)
                    if m2 and is_script:
                        value = m2.group(1)
                        self.code_page = 1252 if value.upper() == 'DEFAULT' else int(value)
                        self.lines.append((path, number, '#pragma code_page %d' % self.code_page))
                elif directive == 'error':
                    raise RcError(where, '#error ' + rest)
                continue
            if active and is_script and stripped:
                self.lines.append((path, number, line))
        if stack:
            raise RcError((path, len(lines)), 'unterminated #if')

    def evaluate_condition(self, text, where):
        def defined(m):
            return '1' if m.group(1) in self.defines else '0'
        expr = re.sub(r'\bdefined\s*\(\s*(\w+)\s*\)', defined, text)
        expr = re.sub(r'\bdefined\s+(\w+)', defined, expr)
        for _ in range(32):
            changed = False

            def ident(m):
                nonlocal changed
                name = m.group(0)
                if name in self.defines:
                    changed = True
                    return '(' + (self.defines[name] or '0') + ')'
                return '0'
            new = re.sub(r'\b[A-Za-z_]\w*\b', ident, expr)
            expr = new
            if not changed:
                break
        expr = re.sub(r'\b(0[xX][0-9a-fA-F]+|\d+)[uUlL]+\b', r'\1', expr)
        expr = expr.replace('&&', ' and ').replace('||', ' or ')
        expr = re.sub(r'!(?!=)', ' not ', expr)
        if not re.fullmatch(r'[\s\d()xXa-fA-F+\-*/%<>=!~&|^andotr]*', expr):
            raise RcError(where, 'cannot evaluate #if %s' % text)
        try:
            return bool(eval(expr, {'__builtins__': {}}, {}))
        except Exception:
            raise RcError(where, 'cannot evaluate #if %s' % text)


# --- tokens -----------------------------------------------------------------

TOKEN = re.compile(r'''
    (?P<ws>[ \t\f\v]+)
  | (?P<string>L?"(?:[^"\\\n]|\\.|"")*")
  | (?P<number>(?:0[xX][0-9a-fA-F]+|\d+)[uUlL]*)
  | (?P<ident>[A-Za-z_][\w.]*)
  | (?P<punct>[,|()+\-~*/&{}^!])
''', re.VERBOSE)


class Token:
    def __init__(self, kind, value, where):
        self.kind = kind
        self.value = value
        self.where = where

    def __repr__(self):
        return '%s:%r' % (self.kind, self.value)


def tokenize(lines):
    tokens = []
    code_pages = []
    for path, number, line in lines:
        where = (path, number)
        if line.startswith('#pragma code_page'):
            tokens.append(Token('pragma', int(line.split()[-1]), where))
            continue
        pos = 0
        while pos < len(line):
            m = TOKEN.match(line, pos)
            if not m:
                raise RcError(where, 'unexpected character %r' % line[pos])
            pos = m.end()
            kind = m.lastgroup
            if kind == 'ws':
                continue
            tokens.append(Token(kind, m.group(0), where))
    return tokens, code_pages


def unescape(literal, where):
    """The characters of a string literal and whether it is wide (L"...")."""
    wide = literal.startswith('L')
    body = literal[2:-1] if wide else literal[1:-1]
    out = []
    i = 0
    while i < len(body):
        c = body[i]
        if c == '"' and i + 1 < len(body) and body[i + 1] == '"':
            out.append('"')
            i += 2
        elif c == '\\' and i + 1 < len(body):
            e = body[i + 1]
            simple = {'n': '\n', 't': '\t', 'r': '\r', 'a': '\a', 'b': '\b', 'f': '\f', 'v': '\v',
                      '\\': '\\', '"': '"', "'": "'", '?': '?'}
            if e in simple:
                out.append(simple[e])
                i += 2
            elif e in 'xX':
                m = re.match(r'[0-9a-fA-F]{1,4}', body[i + 2:])
                if not m:
                    raise RcError(where, 'bad \\x escape')
                out.append(chr(int(m.group(0), 16)))
                i += 2 + len(m.group(0))
            elif e in '01234567':
                m = re.match(r'[0-7]{1,3}', body[i + 1:])
                out.append(chr(int(m.group(0), 8)))
                i += 1 + len(m.group(0))
            else:
                out.append(e)
                i += 2
        else:
            out.append(c)
            i += 1
    return ''.join(out), wide


# --- parsing ----------------------------------------------------------------

RT = {'DIALOG': 5, 'STRING': 6, 'RCDATA': 10, 'DLGINIT': 240}
MEMORY_FLAGS = {'PRELOAD', 'LOADONCALL', 'MOVEABLE', 'DISCARDABLE', 'PURE', 'IMPURE', 'FIXED',
                'SHARED', 'NONSHARED'}
SKIPPED_BLOCKS = {'MENU', 'MENUEX', 'ACCELERATORS', 'VERSIONINFO', 'TEXTINCLUDE', 'DESIGNINFO',
                  'TOOLBAR', 'TYPELIB'}
FILE_RESOURCES = {'ICON', 'BITMAP', 'CURSOR', 'FONT', 'HTML', 'MANIFEST', 'MESSAGETABLE', 'PLUGPLAY', 'VXD',
                  'ANICURSOR', 'ANIICON', 'REGISTRY'}

WS_CHILD = 0x40000000
WS_VISIBLE = 0x10000000
WS_TABSTOP = 0x00010000
WS_GROUP = 0x00020000
WS_BORDER = 0x00800000
WS_POPUP = 0x80000000
WS_SYSMENU = 0x00080000
WS_CAPTION = 0x00C00000
DS_SETFONT = 0x40

# Control statements: (class, default style, has text)
CONTROLS = {
    'LTEXT': ('Static', 0x0 | WS_GROUP, True),
    'RTEXT': ('Static', 0x2 | WS_GROUP, True),
    'CTEXT': ('Static', 0x1 | WS_GROUP, True),
    'PUSHBUTTON': ('Button', 0x0 | WS_TABSTOP, True),
    'DEFPUSHBUTTON': ('Button', 0x1 | WS_TABSTOP, True),
    'PUSHBOX': ('Button', 0xA | WS_TABSTOP, True),
    'CHECKBOX': ('Button', 0x2 | WS_TABSTOP, True),
    'AUTOCHECKBOX': ('Button', 0x3 | WS_TABSTOP, True),
    'STATE3': ('Button', 0x5 | WS_TABSTOP, True),
    'AUTO3STATE': ('Button', 0x6 | WS_TABSTOP, True),
    'RADIOBUTTON': ('Button', 0x4, True),
    'AUTORADIOBUTTON': ('Button', 0x9, True),
    'GROUPBOX': ('Button', 0x7, True),
    'EDITTEXT': ('Edit', 0x0 | WS_BORDER | WS_TABSTOP, False),
    'COMBOBOX': ('ComboBox', 0x1 | WS_TABSTOP, False),
    'LISTBOX': ('ListBox', 0x1 | WS_BORDER, False),
    'SCROLLBAR': ('ScrollBar', 0x0, False),
}
CLASS_KEYWORDS = {'BUTTON': 'Button', 'STATIC': 'Static', 'EDIT': 'Edit', 'COMBOBOX': 'ComboBox',
                  'LISTBOX': 'ListBox', 'SCROLLBAR': 'ScrollBar'}


class Parser:
    def __init__(self, tokens, defines, code_page):
        self.tokens = tokens
        self.pos = 0
        self.defines = defines
        self.code_page = code_page
        self.language = 0
        self.resources = []     # dicts: type, name, language, kind, payload
        self.strings = {}       # (language, id) -> text
        self.warnings = []

    # token helpers
    def peek(self, offset=0):
        i = self.pos + offset
        return self.tokens[i] if i < len(self.tokens) else None

    def where(self):
        t = self.peek()
        if t:
            return t.where
        return self.tokens[-1].where if self.tokens else ('<input>', 0)

    def next(self):
        t = self.peek()
        if t is None:
            raise RcError(self.where(), 'unexpected end of the script')
        self.pos += 1
        return t

    def is_word(self, t, *words):
        return t is not None and t.kind == 'ident' and t.value.upper() in words

    def is_punct(self, t, p):
        return t is not None and t.kind == 'punct' and t.value == p

    def skip_comma(self):
        """Takes a comma if one comes next; tells whether it did."""
        if self.is_punct(self.peek(), ','):
            self.pos += 1
            return True
        return False

    def expect_comma(self):
        t = self.next()
        if not self.is_punct(t, ','):
            raise RcError(t.where, 'expected "," but found %s' % t.value)

    def is_begin(self, t):
        return self.is_word(t, 'BEGIN') or self.is_punct(t, '{')

    def is_end(self, t):
        return self.is_word(t, 'END') or self.is_punct(t, '}')

    def expect_begin(self):
        t = self.next()
        if not self.is_begin(t):
            raise RcError(t.where, 'expected BEGIN but found %s' % t.value)

    # values
    def define_value(self, name, where, depth=0):
        if depth > 32:
            raise RcError(where, 'macro %s expands without end' % name)
        text = self.defines[name]
        toks, _ = tokenize([(where[0], where[1], text)])
        sub = Parser(toks, self.defines, self.code_page)
        value = sub.expression(depth + 1)
        if sub.peek() is not None:
            raise RcError(where, 'macro %s is not a number' % name)
        return value

    def term(self, depth=0):
        t = self.next()
        if t.kind == 'number':
            return int(t.value.rstrip('uUlL'), 0) if not re.fullmatch(r'0\d+[uUlL]*', t.value) else int(t.value.rstrip('uUlL'), 8)
        if self.is_punct(t, '('):
            v = self.expression(depth)
            close = self.next()
            if not self.is_punct(close, ')'):
                raise RcError(close.where, 'expected ")"')
            return v
        if self.is_punct(t, '~'):
            return ~self.term(depth)
        if self.is_punct(t, '-'):
            return -self.term(depth)
        if self.is_punct(t, '+'):
            return self.term(depth)
        if t.kind == 'ident' and t.value.upper() == 'NOT':
            return ~self.term(depth)
        if t.kind == 'ident' and t.value in self.defines:
            return self.define_value(t.value, t.where, depth)
        raise RcError(t.where, 'undefined name %s' % t.value if t.kind == 'ident' else 'expected a number, found %s' % t.value)

    def expression(self, depth=0):
        value = self.term(depth)
        while True:
            t = self.peek()
            if t is None or t.kind != 'punct' or t.value not in '|+-&*/^':
                return value
            self.pos += 1
            rhs = self.term(depth)
            op = t.value
            if op == '|':
                value |= rhs
            elif op == '+':
                value += rhs
            elif op == '-':
                value -= rhs
            elif op == '&':
                value &= rhs
            elif op == '*':
                value *= rhs
            elif op == '/':
                value = int(value / rhs) if rhs else 0
            else:
                value ^= rhs

    def style(self, default):
        """A style expression over a default: terms are ORed in, NOT terms cleared."""
        value = default
        while True:
            t = self.peek()
            if self.is_word(t, 'NOT'):
                self.pos += 1
                value &= ~self.term()
            else:
                value |= self.term()
            if self.is_punct(self.peek(), '|'):
                self.pos += 1
                continue
            return value & 0xFFFFFFFF

    def string(self):
        t = self.next()
        if t.kind != 'string':
            raise RcError(t.where, 'expected a string but found %s' % t.value)
        text, _ = unescape(t.value, t.where)
        while self.peek() is not None and self.peek().kind == 'string':   # adjacent literals join
            more, _ = unescape(self.next().value, t.where)
            text += more
        return text

    def name_or_id(self):
        t = self.next()
        if t.kind == 'number' or (t.kind == 'ident' and t.value in self.defines) or self.is_punct(t, '('):
            self.pos -= 1
            return self.expression() & 0xFFFF
        if t.kind == 'string':
            return unescape(t.value, t.where)[0].upper()
        if t.kind == 'ident':
            return t.value.upper()
        raise RcError(t.where, 'expected a resource name, found %s' % t.value)

    def narrow_bytes(self, text, where):
        encoding = 'utf-8' if self.code_page == 65001 else 'cp%d' % self.code_page
        try:
            return text.encode(encoding)
        except (UnicodeEncodeError, LookupError):
            raise RcError(where, 'text %r cannot be written in code page %d' % (text, self.code_page))

    # top level
    def parse(self):
        while self.peek() is not None:
            t = self.peek()
            if t.kind == 'pragma':
                self.code_page = t.value
                self.pos += 1
            elif self.is_word(t, 'LANGUAGE'):
                self.pos += 1
                self.language = self.language_value()
            elif self.is_word(t, 'STRINGTABLE'):
                self.pos += 1
                self.stringtable()
            else:
                self.resource()
        return self

    def language_value(self):
        primary = self.expression()
        self.expect_comma()
        sub = self.expression()
        return ((sub & 0x3F) << 10) | (primary & 0x3FF)

    def options(self, allowed=('LANGUAGE', 'CHARACTERISTICS', 'VERSION')):
        language = self.language
        while True:
            t = self.peek()
            if self.is_word(t, *MEMORY_FLAGS):
                self.pos += 1
            elif self.is_word(t, 'LANGUAGE') and 'LANGUAGE' in allowed:
                self.pos += 1
                language = self.language_value()
            elif self.is_word(t, 'CHARACTERISTICS', 'VERSION'):
                self.pos += 1
                self.expression()
            else:
                return language

    def stringtable(self):
        language = self.options()
        self.expect_begin()
        while not self.is_end(self.peek()):
            where = self.where()
            sid = self.expression() & 0xFFFF
            self.skip_comma()
            text = self.string()
            key = (language, sid)
            if key in self.strings:
                raise RcError(where, 'string %d is defined twice' % sid)
            self.strings[key] = text
        self.next()

    def skip_block(self):
        depth = 0
        while True:
            t = self.next()
            if self.is_begin(t):
                depth += 1
            elif self.is_end(t):
                depth -= 1
                if depth == 0:
                    return

    def resource(self):
        where = self.where()
        name = self.name_or_id()
        t = self.next()
        if t.kind == 'number':
            rtype = int(t.value.rstrip('uUlL'), 0)
            keyword = None
        elif t.kind == 'ident':
            keyword = t.value.upper()
            rtype = keyword
        elif t.kind == 'string':
            keyword = unescape(t.value, t.where)[0].upper()
            rtype = keyword
        else:
            raise RcError(t.where, 'expected a resource type after %s' % name)
        if keyword in ('DIALOG', 'DIALOGEX'):
            self.dialog(name, keyword == 'DIALOGEX', where)
        elif keyword == 'DLGINIT':
            language = self.options()
            self.add(RT['DLGINIT'], name, language, 'raw', self.raw_data(), where)
        elif keyword == 'RCDATA':
            language = self.options()
            self.add(RT['RCDATA'], name, language, 'raw', self.raw_data(), where)
        elif keyword in SKIPPED_BLOCKS:
            # Header statements up to the block, then the block.
            while not self.is_begin(self.peek()):
                self.next()
            self.skip_block()
            if keyword not in ('TEXTINCLUDE', 'DESIGNINFO'):
                self.warnings.append((where, '%s resource %s skipped: not used by this platform' % (keyword, name)))
        elif keyword in FILE_RESOURCES:
            self.options()
            self.next()   # the file name
            self.warnings.append((where, '%s resource %s skipped: not used by this platform' % (keyword, name)))
        else:
            # A user-defined type: raw data in a block (a file reference is not supported).
            language = self.options()
            if not self.is_begin(self.peek()):
                raise RcError(where, 'resource %s of type %s: only inline data is supported' % (name, rtype))
            self.add(rtype, name, language, 'raw', self.raw_data(), where)

    def add(self, rtype, name, language, kind, payload, where):
        for r in self.resources:
            if r['type'] == rtype and r['name'] == name and r['language'] == language:
                raise RcError(where, 'resource %s of type %s is defined twice' % (name, rtype))
        self.resources.append({'type': rtype, 'name': name, 'language': language, 'kind': kind,
                               'payload': payload})

    def raw_data(self):
        self.expect_begin()
        out = bytearray()
        while not self.is_end(self.peek()):
            t = self.peek()
            if t.kind == 'string':
                self.pos += 1
                text, wide = unescape(t.value, t.where)
                out += text.encode('utf-16-le') if wide else self.narrow_bytes(text, t.where)
            else:
                long_value = t.kind == 'number' and t.value.rstrip('uU').upper().endswith('L')
                value = self.expression()
                out += (value & 0xFFFFFFFF).to_bytes(4, 'little') if long_value else (value & 0xFFFF).to_bytes(2, 'little')
            self.skip_comma()
        self.next()
        return bytes(out)

    def dialog(self, name, extended, where):
        x = self.expression()
        self.expect_comma()
        y = self.expression()
        self.expect_comma()
        cx = self.expression()
        self.expect_comma()
        cy = self.expression()
        help_id = 0
        if extended and self.skip_comma():
            help_id = self.expression()
        language = self.language
        style = None
        ex_style = 0
        caption = ''
        font_name = ''
        font_size = 0
        while True:
            t = self.peek()
            if self.is_word(t, *MEMORY_FLAGS):
                self.pos += 1
            elif self.is_word(t, 'STYLE'):
                self.pos += 1
                style = self.style(0)
            elif self.is_word(t, 'EXSTYLE'):
                self.pos += 1
                ex_style = self.style(0)
            elif self.is_word(t, 'CAPTION'):
                self.pos += 1
                caption = self.string()
            elif self.is_word(t, 'FONT'):
                self.pos += 1
                font_size = self.expression()
                self.expect_comma()
                font_name = self.string()
                for _ in range(3):   # weight, italic, charset (DIALOGEX)
                    if self.skip_comma():
                        self.expression()
            elif self.is_word(t, 'MENU', 'CLASS'):
                self.pos += 1
                self.name_or_id()
            elif self.is_word(t, 'LANGUAGE'):
                self.pos += 1
                language = self.language_value()
            elif self.is_word(t, 'CHARACTERISTICS', 'VERSION'):
                self.pos += 1
                self.expression()
            else:
                break
        if style is None:
            style = WS_POPUP | WS_BORDER | WS_SYSMENU
        if caption:
            style |= WS_CAPTION
        if font_name:
            style |= DS_SETFONT
        self.expect_begin()
        items = []
        while not self.is_end(self.peek()):
            items.append(self.control(extended))
        self.next()
        self.add(RT['DIALOG'], name, language, 'dialog', {
            'extended': extended, 'caption': caption, 'font': font_name, 'size': font_size,
            'rect': (x, y, cx, cy), 'style': style, 'ex_style': ex_style, 'help': help_id, 'items': items,
        }, where)

    def control(self, extended):
        t = self.next()
        word = t.value.upper() if t.kind == 'ident' else None
        if word == 'CONTROL':
            text = self.control_text()
            self.expect_comma()
            cid = self.expression()
            self.expect_comma()
            c = self.next()
            if c.kind == 'string':
                cls = unescape(c.value, c.where)[0]
            elif c.kind == 'ident':
                cls = CLASS_KEYWORDS.get(c.value.upper(), c.value)
            else:
                raise RcError(c.where, 'expected a control class')
            self.expect_comma()
            style = self.style(WS_CHILD | WS_VISIBLE)
            self.expect_comma()
            rect = self.rect()
            ex_style = self.control_ex_style(extended)
            return {'class': cls, 'text': text, 'id': cid, 'rect': rect, 'style': style, 'ex_style': ex_style}
        if word not in CONTROLS:
            raise RcError(t.where, 'unknown control statement %s' % t.value)
        cls, default, has_text = CONTROLS[word]
        text = ''
        if has_text:
            text = self.control_text()
            self.expect_comma()
        cid = self.expression()
        self.expect_comma()
        rect = self.rect()
        style = WS_CHILD | WS_VISIBLE | default
        ex_style = 0
        if self.skip_comma():
            if word == 'COMBOBOX':
                style &= ~0x3   # the given type replaces the default CBS_SIMPLE
            style = self.style(style)
            if word == 'COMBOBOX' and style & 0x3 == 0:
                style |= 0x1
            ex_style = self.control_ex_style(extended)
        return {'class': cls, 'text': text, 'id': cid, 'rect': rect, 'style': style, 'ex_style': ex_style}

    def control_ex_style(self, extended):
        """A control's optional extended style, after a comma, and in a
        DIALOGEX its optional help id after that, which is read and dropped.
        The extended style, 0 when there is none."""
        ex_style = 0
        if self.skip_comma():
            ex_style = self.style(0)
            if extended and self.skip_comma():
                self.expression()
        return ex_style

    def control_text(self):
        t = self.peek()
        if t is not None and t.kind == 'string':
            return self.string()
        return str(self.expression())   # an ordinal (icons)

    def rect(self):
        values = [self.expression()]
        for _ in range(3):
            self.expect_comma()
            values.append(self.expression())
        return tuple(values)


# --- output -----------------------------------------------------------------

def wide_literal(text):
    out = ['L"']
    for ch in text:
        code = ord(ch)
        if ch == '\\':
            out.append('\\\\')
        elif ch == '"':
            out.append('\\"')
        elif ch == '?':
            out.append('\\?')   # no trigraphs
        elif 0x20 <= code < 0x7F:
            out.append(ch)
        elif code < 0xA0:
            out.append('\\%03o' % code)
        else:
            out.append('\\U%08X' % code)
    out.append('"')
    return ''.join(out)


def byte_array(data):
    if not data:
        return '{0}'
    rows = []
    for i in range(0, len(data), 16):
        rows.append('    ' + ', '.join('0x%02X' % b for b in data[i:i + 16]) + ',')
    return '{\n' + '\n'.join(rows) + '\n}'


def ident_text(value):
    return 'nullptr' if isinstance(value, int) else wide_literal(value)


def emit(parser, source_name):
    out = []
    out.append('// Resources of %s, made by the resource compiler (tools/rc.py). Do not edit.' % source_name)
    out.append('#include <standin/Resources.h>')
    out.append('')
    out.append('namespace {')
    out.append('')
    entries = []
    counter = 0

    def add_entry(rtype, name, language, data_name, size_expr):
        entries.append('    {%s, %du, %s, %du, 0x%04Xu, %s, %s},' % (
            ident_text(rtype), rtype if isinstance(rtype, int) else 0,
            ident_text(name), name if isinstance(name, int) else 0,
            language, data_name, size_expr))

    for r in parser.resources:
        counter += 1
        base = 'kv_res_%d' % counter
        if r['kind'] == 'dialog':
            d = r['payload']
            items = d['items']
            if items:
                out.append('const standin::DialogItemTemplate %s_items[] = {' % base)
                for it in items:
                    x, y, cx, cy = it['rect']
                    cid = it['id']
                    if cid == 0xFFFF:
                        cid = -1
                    out.append('    {%s, %s, %d, %d, %d, %d, %d, 0x%08Xu, 0x%08Xu},' % (
                        wide_literal(it['class']), wide_literal(it['text']), cid, x, y, cx, cy,
                        it['style'] & 0xFFFFFFFF, it['ex_style'] & 0xFFFFFFFF))
                out.append('};')
            x, y, cx, cy = d['rect']
            out.append('const standin::DialogTemplate %s = {' % base)
            out.append('    standin::kDialogMagic, %s, %s, %s, %d, %d, %d, %d, %d, 0x%08Xu, 0x%08Xu, %du, %du, %s,' % (
                'true' if d['extended'] else 'false', wide_literal(d['caption']), wide_literal(d['font']),
                d['size'], x, y, cx, cy, d['style'] & 0xFFFFFFFF, d['ex_style'] & 0xFFFFFFFF, d['help'],
                len(items), ('%s_items' % base) if items else 'nullptr'))
            out.append('};')
            add_entry(r['type'], r['name'], r['language'], '&' + base, 'sizeof(%s)' % base)
        else:
            data = r['payload']
            out.append('const unsigned char %s[] = %s;' % (base, byte_array(data)))
            add_entry(r['type'], r['name'], r['language'], base, '%du' % len(data))
        out.append('')

    # String tables: blocks of 16, block id = string id / 16 + 1.
    blocks = {}
    for (language, sid), text in parser.strings.items():
        blocks.setdefault((language, sid // 16 + 1), {})[sid % 16] = text
    for (language, block), slots in sorted(blocks.items()):
        counter += 1
        base = 'kv_res_%d' % counter
        units = []
        for i in range(16):
            text = slots.get(i, '')
            units.append(str(len(text)))
            units.extend(str(ord(c)) for c in text)
        rows = ['    ' + ', '.join(units[i:i + 16]) + ',' for i in range(0, len(units), 16)]
        out.append('const wchar_t %s[] = {\n%s\n};' % (base, '\n'.join(rows)))
        add_entry(RT['STRING'], block, language, base, 'sizeof(%s)' % base)
        out.append('')

    if entries:
        out.append('const standin::ResourceEntry kv_entries[] = {')
        out.extend(entries)
        out.append('};')
    out.append('')
    out.append('}  // namespace')
    out.append('')
    out.append('extern "C" __attribute__((visibility("default"), used))')
    out.append('const standin::ResourceDirectory KV_RESOURCE_SYMBOL = {standin::kResourceMagic, 1, %du, %s};' % (
        len(entries), 'kv_entries' if entries else 'nullptr'))
    return '\n'.join(out) + '\n'


def main(argv):
    ap = argparse.ArgumentParser(description='Compiles a resource script into a C++ source.')
    ap.add_argument('script')
    ap.add_argument('-I', dest='includes', action='append', default=[])
    ap.add_argument('-D', dest='defines', action='append', default=[])
    ap.add_argument('-o', dest='output', required=True)
    ap.add_argument('--depfile')
    args = ap.parse_args(argv)
    defines = {'RC_INVOKED': '1', '_WIN32': '1', 'APSTUDIO_HIDDEN_SYMBOLS_NOTHING': ''}
    del defines['APSTUDIO_HIDDEN_SYMBOLS_NOTHING']
    for d in args.defines:
        k, _, v = d.partition('=')
        defines[k] = v or '1'
    pre = Preprocessor([os.path.abspath(i) for i in args.includes], defines)
    try:
        if not os.path.isfile(args.script):
            raise RcError((args.script, 0), 'cannot open the script')
        pre.run(args.script)
        tokens, _ = tokenize(pre.lines)
        parser = Parser(tokens, pre.defines, 1252).parse()
    except RcError as e:
        path, line = e.where
        sys.stderr.write('%s:%d: error: %s\n' % (path, line, e.message))
        return 1
    for (path, line), message in parser.warnings:
        sys.stderr.write('%s:%d: warning: %s\n' % (path, line, message))
    text = emit(parser, os.path.basename(args.script))
    tmp = args.output + '.tmp'
    with open(tmp, 'w', encoding='utf-8') as f:
        f.write(text)
    os.replace(tmp, args.output)
    if args.depfile:
        with open(args.depfile, 'w', encoding='utf-8') as f:
            f.write('%s: %s\n' % (args.output.replace(' ', '\\ '),
                                  ' '.join(p.replace(' ', '\\ ') for p in pre.files)))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
