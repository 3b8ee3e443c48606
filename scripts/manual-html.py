#!/usr/bin/env python3
"""The Japanese user guide as HTML, made from the text files in docs/manual.

    manual-html.py build SOURCE_DIR OUT_DIR
        Every NN-name.txt of SOURCE_DIR (in name order) becomes OUT_DIR/NN-name.html, and
        OUT_DIR/index.html is the table of contents of them all (chapters and their sections).
    manual-html.py check OUT_DIR APP_DIR
        Fails unless the pages exist, are UTF-8, say lang="ja", and name every menu and
        command caption the program's sources in APP_DIR give (without their "(&X)"
        accelerators and "..."), so a command added without a word in the guide is noticed.

The source text, one chapter a file:
    # Title            the chapter's title (first line)
    ## Heading         a section, listed in the table of contents
    ### Heading        a sub-section
    - item             a bulleted list (lines starting with two spaces continue the item)
    | a | b |          a table; its first row is the heading row
    ```                a preformatted block, up to the next ```
    other lines        paragraphs, separated by blank lines
Inside text: `code`, **strong**, and [text](NN-name.txt#anchor) links to other chapters.
Python 3 standard library only: it runs on every machine that builds the program.
"""

import html
import os
import re
import sys

STYLE = """
body { font-family: "IPAGothic", "Meiryo", "Yu Gothic", sans-serif; line-height: 1.7;
       max-width: 52em; margin: 1em auto; padding: 0 1em; color: #222; }
h1 { border-bottom: 2px solid #468; padding-bottom: .2em; }
h2 { border-left: 6px solid #468; padding-left: .4em; margin-top: 1.6em; }
h3 { margin-top: 1.2em; }
code, pre { font-family: "IPAGothic", "MS Gothic", monospace; background: #f2f4f7; }
pre { padding: .6em; overflow-x: auto; }
table { border-collapse: collapse; margin: .6em 0; }
th, td { border: 1px solid #aab; padding: .2em .6em; vertical-align: top; }
th { background: #e6eaf0; }
nav { margin: .8em 0; font-size: 90%; }
nav a { margin-right: 1em; }
ul.toc > li { margin-top: .4em; }
"""


class Chapter:
    def __init__(self, source, page):
        self.source = source  # NN-name.txt
        self.page = page      # NN-name.html
        self.title = ""
        self.sections = []    # (anchor, title)
        self.body = []


def inline(text):
    """Escapes text and turns `code`, **strong** and [text](target) into HTML."""
    out = []
    pos = 0
    pattern = re.compile(r"`([^`]+)`|\*\*(.+?)\*\*|\[([^\]]+)\]\(([^)]+)\)")
    for m in pattern.finditer(text):
        out.append(html.escape(text[pos:m.start()], quote=False))
        if m.group(1) is not None:
            out.append("<code>%s</code>" % html.escape(m.group(1), quote=False))
        elif m.group(2) is not None:
            out.append("<strong>%s</strong>" % html.escape(m.group(2), quote=False))
        else:
            target = re.sub(r"\.txt(#|$)", r".html\1", m.group(4))
            out.append('<a href="%s">%s</a>' % (html.escape(target), html.escape(m.group(3), quote=False)))
        pos = m.end()
    out.append(html.escape(text[pos:], quote=False))
    return "".join(out)


def table_row(line, cell):
    cells = [c.strip() for c in line.strip().strip("|").split("|")]
    return "<tr>" + "".join("<%s>%s</%s>" % (cell, inline(c), cell) for c in cells) + "</tr>"


def parse(chapter, lines):
    body = chapter.body
    i = 0
    paragraph = []

    def flush():
        if paragraph:
            body.append("<p>%s</p>" % inline(" ".join(paragraph)))
            del paragraph[:]

    while i < len(lines):
        line = lines[i].rstrip("\n").rstrip()
        if line.startswith("```"):
            flush()
            i += 1
            block = []
            while i < len(lines) and not lines[i].startswith("```"):
                block.append(html.escape(lines[i].rstrip("\n"), quote=False))
                i += 1
            body.append("<pre>%s</pre>" % "\n".join(block))
        elif line.startswith("# "):
            flush()
            chapter.title = line[2:].strip()
            body.append("<h1>%s</h1>" % inline(chapter.title))
        elif line.startswith("## ") or line.startswith("### "):
            flush()
            level = 2 if line.startswith("## ") else 3
            title = line[level + 1:].strip()
            anchor = "s%d" % (len(chapter.sections) + 1)
            if level == 2:
                chapter.sections.append((anchor, title))
            else:
                anchor = "%s-%d" % (anchor, i)
            body.append('<h%d id="%s">%s</h%d>' % (level, anchor, inline(title), level))
        elif line.startswith("- "):
            flush()
            items = []
            while i < len(lines) and (lines[i].startswith("- ") or lines[i].startswith("  ")):
                if lines[i].startswith("- "):
                    items.append(lines[i][2:].strip())
                else:
                    items[-1] += " " + lines[i].strip()
                i += 1
            body.append("<ul>%s</ul>" % "".join("<li>%s</li>" % inline(t) for t in items))
            continue
        elif line.startswith("|"):
            flush()
            rows = []
            while i < len(lines) and lines[i].startswith("|"):
                row = lines[i].rstrip()
                if not re.fullmatch(r"\|[\s|:-]+\|", row):
                    rows.append(table_row(row, "th" if not rows else "td"))
                i += 1
            body.append("<table>%s</table>" % "".join(rows))
            continue
        elif not line:
            flush()
        else:
            paragraph.append(line.strip())
        i += 1
    flush()


def page(title, nav, body):
    return ("<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n"
            "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
            "<title>%s</title>\n<style>%s</style>\n</head>\n<body>\n%s\n%s\n%s\n</body>\n</html>\n"
            % (html.escape(title), STYLE, nav, body, nav))


def build(source_dir, out_dir):
    names = sorted(n for n in os.listdir(source_dir) if re.fullmatch(r"\d\d-[\w-]+\.txt", n))
    if not names:
        sys.exit("manual-html.py: no chapters in %s" % source_dir)
    chapters = []
    for name in names:
        chapter = Chapter(name, name[:-4] + ".html")
        with open(os.path.join(source_dir, name), encoding="utf-8") as f:
            parse(chapter, f.readlines())
        if not chapter.title:
            sys.exit("manual-html.py: %s has no '# title' line" % name)
        chapters.append(chapter)
    os.makedirs(out_dir, exist_ok=True)
    product = "へくすかばっと。 ユーザーガイド"
    for n, chapter in enumerate(chapters):
        links = ['<a href="index.html">目次</a>']
        if n > 0:
            links.append('<a href="%s">前へ: %s</a>' % (chapters[n - 1].page, html.escape(chapters[n - 1].title)))
        if n + 1 < len(chapters):
            links.append('<a href="%s">次へ: %s</a>' % (chapters[n + 1].page, html.escape(chapters[n + 1].title)))
        nav = "<nav>%s</nav>" % "".join(links)
        write(os.path.join(out_dir, chapter.page),
              page("%s - %s" % (chapter.title, product), nav, "\n".join(chapter.body)))
    toc = ["<h1>%s</h1>" % product, "<h2>目次</h2>", '<ul class="toc">']
    for chapter in chapters:
        toc.append('<li><a href="%s">%s</a><ul>' % (chapter.page, html.escape(chapter.title)))
        for anchor, title in chapter.sections:
            toc.append('<li><a href="%s#%s">%s</a></li>' % (chapter.page, anchor, inline(title)))
        toc.append("</ul></li>")
    toc.append("</ul>")
    write(os.path.join(out_dir, "index.html"), page(product, "", "\n".join(toc)))


def write(path, text):
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)


def captions(app_dir):
    """The captions of the menus and commands, as the program's sources give them."""
    found = set()
    make = re.compile(r'(?:TCommand::Make\([^;]*?|add(?:Menu|Action)\(|new QMenu\(|QAction\(|set(?:Title|Text)\()'
                      r'\s*QStringLiteral\("([^"]+)"\)', re.S)
    for folder, _, files in os.walk(app_dir):
        for name in files:
            if not (name.endswith("Commands.cpp") or name in ("TfrmMain.cpp", "TByteValuesPanel.cpp")):
                continue
            with open(os.path.join(folder, name), encoding="utf-8") as f:
                for m in make.finditer(f.read()):
                    text = re.sub(r"\(&.\)", "", m.group(1)).replace("&", "")
                    text = re.sub(r"^\d\. ", "", text).replace("...", "").strip()
                    # Status bar texts ("位置 %1") are set the same way: no command.
                    if text and "%" not in text:
                        found.add(text)
    return found


def check(out_dir, app_dir):
    failures = []
    pages = sorted(n for n in os.listdir(out_dir) if n.endswith(".html")) if os.path.isdir(out_dir) else []
    if "index.html" not in pages or len(pages) < 2:
        sys.exit("FAIL: no index.html and chapters in %s" % out_dir)
    text = ""
    for name in pages:
        with open(os.path.join(out_dir, name), "rb") as f:
            raw = f.read()
        try:
            content = raw.decode("utf-8")
        except UnicodeDecodeError as e:
            failures.append("%s is not UTF-8: %s" % (name, e))
            continue
        if '<html lang="ja">' not in content:
            failures.append('%s lacks <html lang="ja">' % name)
        text += content
    wanted = captions(app_dir)
    if len(wanted) < 40:
        failures.append("only %d captions found in %s" % (len(wanted), app_dir))
    for caption in sorted(wanted):
        if html.escape(caption, quote=False) not in text:
            failures.append("the guide never names the command %s" % caption)
    for failure in failures:
        print("FAIL:", failure)
    print("%d passed, %d failed" % (len(wanted) + len(pages) - len(failures), len(failures)))
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "build":
        build(sys.argv[2], sys.argv[3])
    elif len(sys.argv) == 4 and sys.argv[1] == "check":
        check(sys.argv[2], sys.argv[3])
    else:
        sys.exit(__doc__)
