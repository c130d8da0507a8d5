#!/usr/bin/env python3
"""Makes the ANSEL oracle fixture with yaz-iconv (Debian package yaz), an independent MARC-8 converter:
oracle.ged is a GEDCOM file in ANSEL written by yaz-iconv from text that uses every ANSEL character and
combining mark; oracle-expected.txt is what yaz-iconv reads back from those bytes, composed (NFC).
Run it here; the outputs are committed."""
import subprocess, unicodedata

def yaz(data, frm, to):
    return subprocess.run(['yaz-iconv', '-f', frm, '-t', to], input=data, capture_output=True, check=True).stdout

specials = 'ŁØĐÞÆŒʹ·♭®±ƠƯʼʻłøđþæœʺı£ðơư°ℓ℗©♯¿¡ß€'
# Marks that yaz-iconv and our table read alike (the ligature and double-tilde halves differ by
# design and are tested by hand).
marks = ['\u0309', '\u0300', '\u0301', '\u0302', '\u0303', '\u0304', '\u0306', '\u0307', '\u0308', '\u030C',
         '\u030A', '\u0315', '\u030B', '\u0310', '\u0327', '\u0328', '\u0323', '\u0324', '\u0325', '\u0333',
         '\u0332', '\u0326', '\u031C', '\u032E', '\u0313']
bases = 'aEiOuncSzgYxqw'

lines = ['0 HEAD', '1 SOUR yaz oracle', '1 CHAR ANSEL', '0 @N1@ NOTE Spacing characters ' + specials]
for k, m in enumerate(marks):
    lines.append('1 CONT mark %d: ' % k + ' '.join(unicodedata.normalize('NFC', b + m) for b in bases))
lines.append('1 CONT stacked: ' + ' '.join(unicodedata.normalize('NFC', s) for s in
             ['e\u0302\u0323', 'a\u0301\u0308', 'q\u0303\u0308', 'o\u031B\u0301'.replace('\u031B', '\u0328')]))
lines.append('1 CONT on specials: ' + ' '.join(unicodedata.normalize('NFC', s) for s in
             ['\u00D8\u0301', '\u00E6\u0301', '\u01A1\u0303', '\u0131\u0304']))
lines.append('1 CONT names: Dvořák Łódź Ørsted Þórsdóttir Nguyễn Ångström Müller Çelik Škoda')
lines.append('0 TRLR')

encoded = b''
expected = ''
for line in lines:
    # Decomposed, so that yaz-iconv writes every mark, but the horned letters are ANSEL letters of their own.
    nfd = unicodedata.normalize('NFD', line)
    for plain, horned in (('O', 'Ơ'), ('U', 'Ư'), ('o', 'ơ'), ('u', 'ư')):
        nfd = nfd.replace(plain + '\u031B', horned)
    b = yaz(nfd.encode('utf-8'), 'UTF-8', 'MARC8')
    encoded += b + b'\n'
    expected += unicodedata.normalize('NFC', yaz(b, 'MARC8', 'UTF-8').decode('utf-8')) + '\n'
open('oracle.ged', 'wb').write(encoded)
open('oracle-expected.txt', 'w', encoding='utf-8').write(expected)
