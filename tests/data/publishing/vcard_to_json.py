# Reads a file of vCards with the vobject library and prints each card's formatted name, structured name, note
# and categories as JSON. Exits 1 when the file does not parse.
import json
import sys

import vobject

cards = []
with open(sys.argv[1], encoding='utf-8') as f:
    for card in vobject.readComponents(f.read()):
        n = card.n.value
        cards.append({
            'version': card.version.value,
            'fn': card.fn.value,
            'family': n.family,
            'given': n.given,
            'additional': n.additional,
            'note': card.note.value if hasattr(card, 'note') else None,
            'categories': card.categories.value if hasattr(card, 'categories') else None,
        })
print(json.dumps(cards))
