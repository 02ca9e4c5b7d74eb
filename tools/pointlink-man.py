"""Writes pointlink's manual page, pointlink(1), from the program's own
help, so that the page says what the program does and no more:

    pointlink-man.py PROGRAM OUT.1.gz

The page holds the program's description and options (`pointlink --help`),
each command's help (`pointlink COMMAND --help`) and the table of formats
(`pointlink formats`). It is written gzip-compressed without a name or time
stamp, so the same program makes the same file, and replaces OUT only when
complete. Standard library only.
"""

import gzip
import os
import re
import subprocess
import sys

# An entry of a help section: its names, then two spaces or more and what
# it does; a longer text goes on in lines indented further.
ENTRY = re.compile(r'^  (\S.*?)(?: {2,}(\S.*))?$')
CONTINUATION = re.compile(r'^ {3,}(\S.*)$')
# A word of an entry's names or of a usage line that stands for a value.
METAVARIABLE = re.compile(r'^[A-Z][A-Z0-9]*(\.\.\.)?$')


def run(program, *args):
    result = subprocess.run([program] + list(args), stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                            universal_newlines=True, timeout=60)
    if result.returncode != 0:
        sys.exit('%s %s: exit status %d\n%s' % (program, ' '.join(args), result.returncode, result.stderr))
    return result.stdout


def parse_help(text):
    """A help text as {'description', 'usage', 'sections': [(title,
    [(names, text)])], 'footer': [paragraph]}."""
    help_ = {'description': '', 'usage': '', 'sections': [], 'footer': []}
    blocks = [block.splitlines() for block in re.split(r'\n\s*\n', text.strip('\n'))]
    for lines in blocks:
        if lines[0].endswith(':') and not lines[0].startswith(' '):
            entries = []
            for line in lines[1:]:
                more = CONTINUATION.match(line)
                if more and entries:
                    names, what = entries[-1]
                    entries[-1] = (names, (what + ' ' + more.group(1)).strip())
                    continue
                entry = ENTRY.match(line)
                if not entry:
                    raise ValueError('not an entry of %s %r' % (lines[0], line))
                entries.append((entry.group(1), entry.group(2) or ''))
            help_['sections'].append((lines[0][:-1], entries))
        elif any(line.startswith('Usage: ') for line in lines):
            for line in lines:
                if line.startswith('Usage: '):
                    help_['usage'] = line[len('Usage: '):]
                else:
                    help_['description'] = (help_['description'] + ' ' + line).strip()
        else:
            help_['footer'].append(' '.join(line.strip() for line in lines))
    return help_


def parse_formats(text):
    """The rows of `pointlink formats` as dicts keyed by its header's words;
    the columns start where the header's words do."""
    lines = text.strip('\n').split('\n\n')[0].splitlines()
    starts = [m.start() for m in re.finditer(r'\S+', lines[0])]
    keys = lines[0].split()
    rows = []
    for line in lines[1:]:
        cells = [line[a:b].strip() for a, b in zip(starts, starts[1:] + [None])]
        rows.append(dict(zip(keys, cells)))
    return rows


def format_notes(text):
    """The paragraphs that follow the table of `pointlink formats`."""
    return [' '.join(part.split()) for part in text.strip('\n').split('\n\n')[1:]]


def escape(text):
    """Text for a roff line: backslashes and hyphens as roff means them, and
    no line that a leading dot or quote would make a request."""
    text = text.replace('\\', '\\e').replace('-', '\\-')
    return '\\&' + text if text.startswith(('.', "'")) else text


def words(text, bold_first=0):
    """Names and usage words: options and the first bold_first words in
    bold, values in italics (also inside brackets), the rest as they are."""
    out = []
    for i, word in enumerate(text.split(' ')):
        opening, core, closing = re.match(r'^(\[?)(.*?)(\]?,?)$', word).groups()
        if i < bold_first or core.startswith('-'):
            core = '\\fB%s\\fR' % escape(core)
        elif METAVARIABLE.match(core) and core != 'REQUIRED':
            dots = '...' if core.endswith('...') else ''
            core = '\\fI%s\\fR%s' % (escape(core[:len(core) - len(dots)]), dots)
        else:
            core = escape(core)
        out.append(opening + core + closing)
    return ' '.join(out)


def entries(items, out):
    for names, what in items:
        out += ['.TP', words(names.replace(',-', ', -')), escape(what)]


def page(program, version):
    top = parse_help(run(program, '--help'))
    commands = [names.split()[0] for title, items in top['sections'] if title == 'Subcommands' for names, _ in items]
    if not commands:
        raise ValueError('the help names no command')
    name = os.path.basename(program)
    summary = top['description'].rstrip('.')
    out = ['.TH %s 1 "" "%s" "User Commands"' % (name.upper(), escape('%s %s' % (name, version))),
           '.SH NAME', '%s \\- %s' % (escape(name), escape(summary[:1].lower() + summary[1:])),
           '.SH SYNOPSIS', '.nf']
    helps = {command: parse_help(run(program, command, '--help')) for command in commands}
    out += [words(helps[c]['usage'], bold_first=2) for c in commands]
    out += [words(top['usage'], bold_first=1), '.fi', '.SH DESCRIPTION', escape(top['description'])]
    for paragraph in top['footer']:
        out += ['.PP', escape(paragraph)]
    for title, items in top['sections']:
        if title != 'Subcommands':
            out.append('.SH %s' % title.upper())
            entries(items, out)
    out.append('.SH COMMANDS')
    for command in commands:
        help_ = helps[command]
        out += ['.SS %s' % escape(command), escape(help_['description']), '.PP', words(help_['usage'], bold_first=2)]
        for title, items in help_['sections']:
            out += ['.PP', '%s:' % escape(title)]
            entries(items, out)
        for paragraph in help_['footer']:
            if paragraph not in top['footer']:
                out += ['.PP', escape(paragraph)]
    out += ['.SH FORMATS', escape('Formats go by name or by number; those without a number are written only.')]
    listing = run(program, 'formats')
    for row in parse_formats(listing):
        number = '' if row['no.'] == '-' else 'number %s, ' % row['no.']
        out += ['.TP', '\\fB%s\\fR (%s%s; %s; texts: %s)' % (escape(row['name']), number, escape(row['extension']),
                                                             escape(row['use']), escape(row['texts'])),
                escape(row['description'])]
    for paragraph in format_notes(listing):
        out += ['.PP', escape(paragraph)]
    return '\n'.join(out) + '\n'


def main():
    if len(sys.argv) != 3:
        sys.exit('usage: pointlink-man.py PROGRAM OUT.1.gz')
    program, target = os.path.abspath(sys.argv[1]), sys.argv[2]
    version = run(program, '--version').split()[-1]
    text = page(program, version)
    partial = target + '.partial'
    with open(partial, 'wb') as raw:
        with gzip.GzipFile(filename='', mode='wb', compresslevel=9, fileobj=raw, mtime=0) as packed:
            packed.write(text.encode('utf-8'))
    os.replace(partial, target)


if __name__ == '__main__':
    main()
