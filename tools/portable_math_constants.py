#!/usr/bin/env python3
"""Prints the constant tables of prism/portable_math.cpp.

Every value is computed with mpmath at 400 bits (1600 for the bits of 2/pi).
A pair is the value rounded to double and the remainder rounded to double; a
"part" is the value cut to a number of significant bits, so that products
with small integers stay exact. Needs mpmath (pip install mpmath).
"""
import mpmath as mp

mp.mp.prec = 400


def pair(x):
    hi = float(x)
    return hi, float(x - mp.mpf(hi))


def cut(x, bits):
    """x rounded toward zero to `bits` significant bits."""
    m, e = mp.frexp(x)
    return float(mp.floor(m * 2**bits) * mp.mpf(2) ** (e - bits))


def show(name, value):
    print(f'constexpr double {name} = {value.hex()};')


ln2 = mp.log(2)
hi = cut(ln2, 42)
show('kLn2Hi', hi)
show('kLn2Lo', float(ln2 - hi))

print('// kLogPoints: {1/c rounded, -ln(1/c rounded) as a pair}, c = 1 + j/64')
for j in range(-19, 28):
    inverse = 1.0 / (1 + j / 64.0)
    hi, lo = pair(-mp.log(mp.mpf(inverse)))
    print(f'    {{{inverse.hex()}, {hi.hex()}, {lo.hex()}}},  // j = {j}')

show('kSixtyFourOverLn2', float(64 / ln2))
hi = cut(ln2 / 64, 36)
show('kLn2Over64Hi', hi)
show('kLn2Over64Lo', float(ln2 / 64 - hi))

print('// kTwoToTheSixtyFourths')
for j in range(64):
    hi, lo = pair(mp.mpf(2) ** (mp.mpf(j) / 64))
    print(f'    {{{hi.hex()}, {lo.hex()}}},  // 2^({j}/64)')

half_pi = mp.pi / 2
rest = half_pi
for n in range(1, 4):
    part = cut(rest, 32)
    show(f'kPiOver2Part{n}', part)
    rest -= part
show('kPiOver2Part4', float(rest))
for name, value in (('kPiOver2', half_pi), ('kPi', mp.pi)):
    hi, lo = pair(value)
    show(name + 'Hi', hi)
    show(name + 'Lo', lo)
show('kTwoOverPi', float(2 / mp.pi))

print('// kCosSinPoints: cos(j/16), sin(j/16) as pairs')
for j in range(14):
    c = mp.mpf(j) / 16
    ch, cl = pair(mp.cos(c))
    sh, sl = pair(mp.sin(c))
    if j == 0:
        print(f'    {{{ch.hex()}, {cl.hex()}, {sh.hex()}, {sl.hex()}}},  // {j}/16')
    else:
        print(f'    {{{ch.hex()}, {cl.hex()},  // {j}/16')
        print(f'     {sh.hex()}, {sl.hex()}}},')

print('// kTwoOverPiWords')
mp.mp.prec = 1600
v = 2 / mp.pi
words = []
for _ in range(40):
    v *= 2**32
    words.append(int(mp.floor(v)))
    v -= words[-1]
for i in range(0, 40, 6):
    print('    ' + ', '.join(f'0x{w:08X}' for w in words[i:i + 6]) + ',')
