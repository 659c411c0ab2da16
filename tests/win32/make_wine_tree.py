#!/usr/bin/env python3
"""A private copy of the system's Wine loaders whose 32-bit preloader lies in one piece.

Debian's 32-bit wine-preloader keeps its ELF header in a segment of its own at
0x08048000, its code at 0x7d400000. The emulator (qemu-i386 7.2) reserves the
whole span between an executable's first and last segment and puts the stack
just below the first, inside the range the preloader means to keep for Windows
memory; the emulated 32-bit Wine is then left with about 128 MB of its 2 GB.
Moving the header segment next to the code gives the address space back. That
segment holds only the ELF header and the build-id note, which nothing reads
at run time.

Wine finds its libraries and data relative to its loader's real path, so the
tree mirrors /usr: lib/wine holds copies of the loaders, the rest links to the
system's files.
    make_wine_tree.py TREE
"""
import os
import shutil
import struct
import sys

SYSTEM_WINE = "/usr/lib/wine"
PT_LOAD, PT_NOTE, PT_PHDR = 1, 4, 6
PF_X, PF_W = 1, 2
PAGE = 0x1000


def fail(message):
    sys.exit(f"make_wine_tree: {message}")


def segments(elf, phoff, phentsize, phnum):
    for i in range(phnum):
        at = phoff + i * phentsize
        yield at, struct.unpack_from("<8I", elf, at)


def join_preloader(elf):
    """Moves a header-only load segment lying far below the code to just below it."""
    if elf[:7] != b"\x7fELF\x01\x01\x01":
        fail("the 32-bit preloader is not a little-endian 32-bit ELF file")
    e_type, e_machine = struct.unpack_from("<HH", elf, 16)
    if e_type != 2 or e_machine != 3:
        fail("the 32-bit preloader is not an i386 executable")
    phoff, = struct.unpack_from("<I", elf, 28)
    shoff, = struct.unpack_from("<I", elf, 32)
    phentsize, phnum, shentsize, shnum = struct.unpack_from("<HHHH", elf, 42)
    table = list(segments(elf, phoff, phentsize, phnum))
    loads = [s for _, s in table if s[0] == PT_LOAD]
    code = min((s for s in loads if s[6] & PF_X), key=lambda s: s[2], default=None)
    if code is None:
        fail("the 32-bit preloader has no code segment")
    header = min(loads, key=lambda s: s[2])
    if header is code or code[2] - header[2] < 16 << 20:
        return elf  # already in one piece
    _, offset, vaddr, _, filesz, memsz, flags, _ = header
    if offset != 0 or filesz != memsz or flags & (PF_X | PF_W) or memsz > PAGE:
        fail("the 32-bit preloader's first segment holds more than its headers")
    delta = (code[2] & ~(PAGE - 1)) - PAGE - vaddr
    patched = bytearray(elf)
    for at, (p_type, _, p_vaddr, _, p_filesz, _, _, _) in table:
        if p_type in (PT_LOAD, PT_NOTE, PT_PHDR) and vaddr <= p_vaddr < vaddr + PAGE:
            struct.pack_into("<II", patched, at + 8, p_vaddr + delta, p_vaddr + delta)
    for i in range(shnum):  # the sections' addresses, so that tools read it rightly
        at = shoff + i * shentsize + 12
        sh_addr, = struct.unpack_from("<I", patched, at)
        if vaddr <= sh_addr < vaddr + PAGE:
            struct.pack_into("<I", patched, at, sh_addr + delta)
    return bytes(patched)


def main():
    if len(sys.argv) != 2:
        fail("usage: make_wine_tree.py TREE")
    tree = os.path.abspath(sys.argv[1])
    loaders = os.path.join(tree, "lib", "wine")
    os.makedirs(loaders, exist_ok=True)
    links = {os.path.join(tree, "share"): "/usr/share"}
    for name in ("x86_64-linux-gnu", "i386-linux-gnu"):
        links[os.path.join(tree, "lib", name)] = os.path.join("/usr/lib", name)
    for name in os.listdir(SYSTEM_WINE):
        links[os.path.join(loaders, name)] = os.path.join(SYSTEM_WINE, name)
    # The loaders themselves are copies: Wine takes its folder from its real path.
    for name in ("wine64", "wine", "wine-preloader"):
        del links[os.path.join(loaders, name)]
        source = os.path.join(SYSTEM_WINE, name)
        target = os.path.join(loaders, name)
        with open(source, "rb") as f:
            content = f.read()
        if name == "wine-preloader":
            content = join_preloader(content)
        with open(target + ".part", "wb") as f:
            f.write(content)
        shutil.copymode(source, target + ".part")
        os.replace(target + ".part", target)
    for link, source in links.items():
        if os.path.islink(link) or os.path.exists(link):
            os.remove(link)
        os.symlink(source, link)


if __name__ == "__main__":
    main()
