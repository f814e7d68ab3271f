"""The few facts of a Windows program's header the checks read: where the
header is, its link time stamp and its checksum, and the checksum its bytes
call for."""

import struct

_COFF_TIME_STAMP = 8  # after the "PE\0\0" signature
_CHECKSUM = 24 + 64  # signature and file header, then 64 bytes into the optional header


def header_offset(data):
    offset = struct.unpack_from("<I", data, 0x3C)[0]
    if data[offset:offset + 4] != b"PE\0\0":
        raise ValueError("not a Windows program: no PE header")
    return offset


def time_stamp(data):
    return struct.unpack_from("<I", data, header_offset(data) + _COFF_TIME_STAMP)[0]


def checksum(data):
    """The checksum the header records."""
    return struct.unpack_from("<I", data, header_offset(data) + _CHECKSUM)[0]


def computed_checksum(data):
    """The checksum of the bytes: their 16-bit words summed with the carry
    brought round, the checksum field left out, plus the file's length."""
    field = header_offset(data) + _CHECKSUM
    words = bytes(data) + b"\0" * (len(data) % 2)
    total = 0
    for (word,) in struct.iter_unpack("<H", words):
        total += word
    total -= struct.unpack_from("<H", words, field)[0] + struct.unpack_from("<H", words, field + 2)[0]
    while total > 0xFFFF:
        total = (total & 0xFFFF) + (total >> 16)
    return total + len(data)


def with_checksum(data, value):
    """The bytes with the header's checksum set to value."""
    out = bytearray(data)
    struct.pack_into("<I", out, header_offset(data) + _CHECKSUM, value)
    return bytes(out)
