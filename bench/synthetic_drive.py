#!/usr/bin/env python3
"""Writes a synthetic drive for the finder's benchmarks: a tree of about 20,000
directories and 80,000 small files with names of every length, a few hidden
folders (names starting with "." - Wine shows them hidden, and the native
benchmark marks them so) and a few data files, some of them where the finder
must not look.

  synthetic_drive.py <folder> [--directories N] [--files N] [--seed N]

The tree is the same for the same arguments; the folder is made anew. A summary
goes to stdout: directories, files, and the data files outside and inside
hidden folders (the finder finds only the former).
"""

import argparse
import random
import shutil
from pathlib import Path

WORDS = ["Program", "Files", "Common", "Documents", "Music", "Pictures", "Temp", "cache", "lib", "share",
         "Backup", "Projects", "src", "build", "Photos 2006", "Downloads", "Games", "System", "Fonts", "x"]
EXTENSIONS = [".txt", ".dll", ".exe", ".ini", ".jpg", ".mp3", ".log", ".dat", ".cfg", ".htm", ""]
HIDDEN_FOLDERS = 5
MAX_DEPTH = 9


def folder_name(rng, number):
    return f"{rng.choice(WORDS)}_{number}" if rng.random() < 0.8 else f"{rng.choice(WORDS)} {rng.choice(WORDS)} {number}"


def file_name(rng, number):
    stem = rng.choice(WORDS).lower() if rng.random() < 0.5 else f"{rng.choice(WORDS)}-{rng.choice(WORDS)}"
    return f"{stem}_{number}{rng.choice(EXTENSIONS)}"


def make_tree(root, directories, files, seed):
    rng = random.Random(seed)
    shutil.rmtree(root, ignore_errors=True)
    root.mkdir(parents=True)
    folders = [(root, 0, False)]  # path, depth, inside a hidden folder
    for number in range(directories):
        # Shallow folders attract more children, as on a real disk.
        parent, depth, hidden = folders[int(len(folders) * rng.random() ** 2)]
        if depth >= MAX_DEPTH:
            parent, depth, hidden = folders[rng.randrange(min(len(folders), 50))]
        is_hidden = number % (directories // HIDDEN_FOLDERS) == 7 and depth < 3
        name = ("." if is_hidden else "") + folder_name(rng, number)
        path = parent / name
        path.mkdir()
        folders.append((path, depth + 1, hidden or is_hidden))
    for number in range(files):
        folder = folders[rng.randrange(len(folders))][0]
        (folder / file_name(rng, number)).write_bytes(b"x" * rng.randrange(64))
    # Data files: most where the finder looks, at least one in a hidden folder,
    # which the finder passes over.
    data_files = {"visible": 0, "hidden": 0}
    for path, _, hidden in rng.sample(folders[1:], 6):
        (path / "Vorpane.Dat").write_bytes(b"\x0e")
        data_files["hidden" if hidden else "visible"] += 1
    hidden_folder = next(path for path, _, hidden in folders if hidden)
    (hidden_folder / "Vorpane.Dat").write_bytes(b"\x0e")
    data_files["hidden"] += 1
    return len(folders) - 1, files, data_files


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("folder", type=Path)
    parser.add_argument("--directories", type=int, default=20000)
    parser.add_argument("--files", type=int, default=80000)
    parser.add_argument("--seed", type=int, default=2006)
    args = parser.parse_args()
    directories, files, data = make_tree(args.folder, args.directories, args.files, args.seed)
    print(f"{args.folder}: {directories} directories, {files} files, "
          f"Vorpane.Dat {data['visible']} outside and {data['hidden']} inside hidden folders")


if __name__ == "__main__":
    main()
