# Reads an iCalendar file with the icalendar library and prints what a calendar program would see, as JSON:
# the calendar's PRODID and VERSION, and each event with its properties and alarms. Exits 1 when the file does not
# parse.
import json
import sys

import icalendar


def text(value):
    return None if value is None else str(value)


def when(value):
    return None if value is None else value.dt.isoformat()


with open(sys.argv[1], 'rb') as f:
    calendar = icalendar.Calendar.from_ical(f.read())
events = []
for event in calendar.walk('VEVENT'):
    events.append({
        'uid': text(event.get('UID')),
        'dtstamp': when(event.get('DTSTAMP')),
        'summary': text(event.get('SUMMARY')),
        'description': text(event.get('DESCRIPTION')),
        'dtstart': when(event.get('DTSTART')),
        'dtend': when(event.get('DTEND')),
        'alarms': [{
            'action': text(alarm.get('ACTION')),
            'attendee': text(alarm.get('ATTENDEE')),
            'trigger': str(alarm.get('TRIGGER').dt),
            'description': text(alarm.get('DESCRIPTION')),
        } for alarm in event.walk('VALARM')],
    })
print(json.dumps({'prodid': text(calendar.get('PRODID')), 'version': text(calendar.get('VERSION')),
                  'events': events}))
