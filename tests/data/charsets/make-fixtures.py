#!/usr/bin/env python3
"""Makes the character-set fixtures from family-utf8.ged: iconv for the code pages and UTF-16,
yaz-iconv (Debian package yaz) for ANSEL. Run it here; the outputs are committed."""
import subprocess, unicodedata

master = open('family-utf8.ged', encoding='utf-8').read()

def with_char(text, name):
    return text.replace('1 CHAR UTF-8', '1 CHAR ' + name)

def iconv(text, to):
    return subprocess.run(['iconv', '-f', 'UTF-8', '-t', to], input=text.encode('utf-8'),
                          capture_output=True, check=True).stdout

def ansel(text):
    # yaz-iconv drops line ends, so each line goes through on its own.
    out = b''
    for line in text.split('\n')[:-1]:
        out += subprocess.run(['yaz-iconv', '-f', 'UTF-8', '-t', 'MARC8'], input=line.encode('utf-8'),
                              capture_output=True, check=True).stdout + b'\n'
    return out

def ascii_only(text):
    text = text.replace('ß', 'ss').replace('ø', 'o').replace('£', 'GBP ')
    return ''.join(c for c in unicodedata.normalize('NFD', text) if not unicodedata.combining(c))

files = {
    'family-utf8-bom.ged': b'\xef\xbb\xbf' + master.encode('utf-8'),
    'family-ansel.ged': ansel(with_char(master, 'ANSEL')),
    'family-ascii.ged': ascii_only(with_char(master, 'ASCII')).encode('ascii'),
    'family-cp1252.ged': iconv(with_char(master, 'ANSI'), 'CP1252'),
    'family-macroman.ged': iconv(with_char(master, 'MACINTOSH'), 'MACINTOSH'),
    'family-utf16le-bom.ged': b'\xff\xfe' + iconv(with_char(master, 'UNICODE'), 'UTF-16LE'),
    'family-utf16be-bom.ged': b'\xfe\xff' + iconv(with_char(master, 'UNICODE'), 'UTF-16BE'),
    'family-utf16le.ged': iconv(with_char(master, 'UNICODE'), 'UTF-16LE'),
    'family-utf16be.ged': iconv(with_char(master, 'UNICODE'), 'UTF-16BE'),
}
for name, data in files.items():
    open(name, 'wb').write(data)
