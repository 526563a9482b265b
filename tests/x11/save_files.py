"""What the X checks share to read the game's save files."""


def crc(data):
    """The save files' CRC-32: polynomial 0x04C11DB7, most significant bit first, start 0."""
    value = 0
    for byte in data:
        value ^= byte << 24
        for _ in range(8):
            value = ((value << 1) ^ 0x04C11DB7) if value & 0x80000000 else value << 1
            value &= 0xFFFFFFFF
    return value


assert crc(b"abc") == 0x2C17398C, "the check's own CRC is wrong"
