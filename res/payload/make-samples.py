#!/usr/bin/env python3
"""Writes the sample payload that the setup program carries until a plug-in
maker puts the real files in their place (see the README).

The samples have the sizes of the real files and contents that a test can
check byte for byte: a header that says what they are, then a fixed
pseudo-random sequence. The preset block has twelve 64-byte slots that all
differ, so the slot boundaries can be told apart."""
import os

HERE = os.path.dirname(os.path.abspath(__file__))


def sample(name, size, seed):
    header = (f"Pastel Craft Plug-in setup: sample payload {name}, "
              f"{size} bytes. Replace this file with the real one.\r\n").encode()
    data = bytearray(header)
    state = seed
    while len(data) < size:
        # xorshift32
        state ^= (state << 13) & 0xFFFFFFFF
        state ^= state >> 17
        state ^= (state << 5) & 0xFFFFFFFF
        data += state.to_bytes(4, "little")
    return bytes(data[:size])


def presets():
    block = bytearray()
    for slot in range(1, 13):
        label = f"Portrait{slot:02d}".encode().ljust(16, b"\0")
        body = bytes((slot * 37 + i * 11) & 0xFF for i in range(48))
        block += label + body
    assert len(block) == 768
    return bytes(block)


def main():
    files = {
        "PastelCraft3.8bf": sample("PastelCraft3.8bf", 1306624, 0x8BF0_1234),
        "Strokes.8tx": sample("Strokes.8tx", 534975, 0x0878_5EED),
        "PresetsPastels.bin": presets(),
    }
    for name, data in files.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
