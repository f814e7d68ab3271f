"""The digests the build recorded (payload/ImageDigests.h) are the SHA-256 of
the images exactly as embedded.

    check_image_digests.py <ImageDigests.h> <uninstaller image> <client image>
"""

import hashlib
import re
import sys
from pathlib import Path


def recorded(header, name):
    found = re.search(name + r"Digest = \{([^}]*)\}", header)
    if not found:
        sys.exit(f"no {name}Digest in the header")
    return bytes(int(value, 16) for value in found.group(1).split(","))


def main():
    header = Path(sys.argv[1]).read_text()
    failures = 0
    for name, image in (("kUninstallerImage", sys.argv[2]), ("kClientImage", sys.argv[3])):
        actual = hashlib.sha256(Path(image).read_bytes()).digest()
        if recorded(header, name) != actual:
            print(f"{name}: recorded {recorded(header, name).hex()}, embedded {actual.hex()}")
            failures += 1
    print(f"{2 - failures} passed, {failures} failed")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
