"""The installer imports only libraries that the system always loads from its
own directory (its known libraries), so that none of the same name left beside
the program, in a downloads folder, is ever loaded in their place. Everything
else is loaded at run time from the system directory.

    check_imports.py <objdump> <program.exe>
"""

import subprocess
import sys

# Windows' known libraries that are also always taken from the system by Wine.
ALLOWED = {
    "advapi32.dll", "comdlg32.dll", "gdi32.dll", "imm32.dll", "kernel32.dll", "msvcrt.dll", "ole32.dll",
    "oleaut32.dll", "rpcrt4.dll", "setupapi.dll", "shell32.dll", "shlwapi.dll", "user32.dll", "ws2_32.dll",
}


def imported_libraries(objdump, program):
    output = subprocess.run([objdump, "-p", program], capture_output=True, text=True, check=True).stdout
    return sorted(line.split(":", 1)[1].strip() for line in output.splitlines() if "DLL Name:" in line)


def main():
    imported = imported_libraries(sys.argv[1], sys.argv[2])
    outside = [name for name in imported if name.lower() not in ALLOWED]
    print("imports:", ", ".join(imported))
    if not imported:
        sys.exit("no import table found")
    for name in outside:
        print(f"imported but not always loaded from the system directory: {name}")
    print(f"{len(imported) - len(outside)} passed, {len(outside)} failed")
    sys.exit(1 if outside else 0)


if __name__ == "__main__":
    main()
