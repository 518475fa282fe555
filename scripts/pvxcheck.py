"""Helpers of the check scripts that read a project with sqlite3: the BLOB readers and a counter
of checks that prints each failed one.

    from pvxcheck import check, ints, reals, summary
"""
import struct

failures = 0
checked = 0


def check(ok, what):
    """Counts a check; prints "FAILED: what" when ok is false."""
    global failures, checked
    checked += 1
    if not ok:
        failures += 1
        print("FAILED:", what)


def ints(blob):
    """A BLOB of little-endian uint32 as a list."""
    return list(struct.unpack("<%dI" % (len(blob) // 4), blob)) if blob else []


def reals(blob):
    """A BLOB of little-endian float64 as a list."""
    return list(struct.unpack("<%dd" % (len(blob) // 8), blob)) if blob else []


def summary():
    """(checks made, checks failed)."""
    return checked, failures
