#!/usr/bin/env python3
"""Writes src/des/DesSBoxGates.h: the eight DES S-boxes as straight-line Boolean
gate sequences for the bitsliced block paths.

Each output bit of an S-box is a function of its six input entries. The
functions of one S-box are built together as a shared decision diagram:
split on one input at a time, reuse every sub-function already computed
(or its complement), and turn each split into the cheapest gate form
(xor with the input, and/andnot/or with a constant side, otherwise a
multiplexer of three gates). Every order of the six inputs is tried and the
one with the fewest gates kept. The S-box values are read from
src/des/DesTables.h, and every circuit is checked on all 64 inputs before the
header is written.

Usage: make_sbox_gates.py  (run from any directory; rewrites the header)
"""
import itertools
import os
import re

HERE = os.path.dirname(os.path.abspath(__file__))
TABLES = os.path.join(HERE, '..', 'src', 'des', 'DesTables.h')
OUTPUT = os.path.join(HERE, '..', 'src', 'des', 'DesSBoxGates.h')

FULL = (1 << 64) - 1
# Truth tables over the 64 input combinations: bit i of input k's table is bit k of i.
INPUTS = [sum(1 << i for i in range(64) if (i >> k) & 1) for k in range(6)]


def read_sboxes():
    text = open(TABLES).read()
    body = text[text.index('kSBoxes[8][4][16]'):]
    body = body[body.index('=') + 1:body.index('};')]
    numbers = [int(n) for n in re.findall(r'\d+', body)]
    assert len(numbers) == 8 * 4 * 16
    return [[numbers[64 * b + 16 * r:64 * b + 16 * r + 16] for r in range(4)] for b in range(8)]


def output_table(sbox, bit):
    """Input k is entry b(k+1) of the group; row = b1 b6, column = b2 b3 b4 b5."""
    table = 0
    for i in range(64):
        b = [(i >> k) & 1 for k in range(6)]
        row = 2 * b[0] + b[5]
        column = 8 * b[1] + 4 * b[2] + 2 * b[3] + b[4]
        if (sbox[row][column] >> bit) & 1:
            table |= 1 << i
    return table


def cofactor(table, k, value):
    shift = 1 << k
    if value:
        kept = table & INPUTS[k]
        return kept | (kept >> shift)
    kept = table & ~INPUTS[k] & FULL
    return kept | (kept << shift)


class Circuit:
    def __init__(self):
        self.known = {FULL: None, 0: None}
        for k in range(6):
            self.known[INPUTS[k]] = 'x[%d]' % k
        self.gates = []  # (name, expression, operation count)

    def operations(self):
        return sum(g[2] for g in self.gates)

    def keep_only(self, outputs):
        """Drops the gates that no output depends on."""
        needed = set(outputs)
        for name, expression, _ in reversed(self.gates):
            if name in needed:
                needed.update(re.findall(r't\d+', expression))
        self.gates = [g for g in self.gates if g[0] in needed]

    def add(self, table, expression, count):
        name = 't%d' % len(self.gates)
        self.gates.append((name, expression, count))
        self.known[table] = name
        return name

    def build(self, table, order):
        if table in self.known:
            assert self.known[table] is not None, 'constant output'
            return self.known[table]
        complement = ~table & FULL
        if self.known.get(complement):
            return self.add(table, '~%s' % self.known[complement], 1)
        for position, k in enumerate(order):
            low, high = cofactor(table, k, 0), cofactor(table, k, 1)
            if low != high:
                break
        rest = order[position + 1:]
        x = 'x[%d]' % k
        if high == ~low & FULL:
            return self.add(table, '%s ^ %s' % (self.build(low, rest), x), 1)
        if low == 0:
            return self.add(table, '%s & %s' % (self.build(high, rest), x), 1)
        if high == 0:
            return self.add(table, '%s & ~%s' % (self.build(low, rest), x), 1)
        if high == FULL:
            return self.add(table, '%s | %s' % (self.build(low, rest), x), 1)
        if low == FULL:
            return self.add(table, '%s | ~%s' % (self.build(high, rest), x), 2)
        low_name = self.build(low, rest)
        high_name = self.build(high, rest)
        difference = self.known.get(low ^ high) or self.add(low ^ high, '%s ^ %s' % (low_name, high_name), 1)
        return self.add(table, '%s ^ (%s & %s)' % (low_name, difference, x), 2)


def evaluate(circuit, outputs, i):
    values = {'x[%d]' % k: -((i >> k) & 1) for k in range(6)}
    for name, expression, _ in circuit.gates:
        values[name] = eval(re.sub(r'x\[\d\]|t\d+', lambda m: '(%d)' % values[m.group(0)], expression))
    return [values[o] & 1 for o in outputs]


def smallest_circuit(sbox):
    tables = [output_table(sbox, bit) for bit in range(4)]
    best = None
    for order in itertools.permutations(range(6)):
        for bits in ((0, 1, 2, 3), (3, 2, 1, 0), (1, 3, 0, 2), (2, 0, 3, 1)):
            circuit = Circuit()
            outputs = [None] * 4
            for bit in bits:
                outputs[bit] = circuit.build(tables[bit], list(order))
            circuit.keep_only(outputs)
            if best is None or circuit.operations() < best[0].operations():
                best = (circuit, outputs)
    circuit, outputs = best
    for i in range(64):
        b = [(i >> k) & 1 for k in range(6)]
        value = sbox[2 * b[0] + b[5]][8 * b[1] + 4 * b[2] + 2 * b[3] + b[4]]
        assert evaluate(circuit, outputs, i) == [(value >> bit) & 1 for bit in range(4)]
    return best


def main():
    lines = [
        '// Generated by tools/make_sbox_gates.py from the S-boxes of DesTables.h; do',
        '// not edit. Each function evaluates one S-box on many blocks at once: x[0]',
        '// ... x[5] hold the entries b1 ... b6 of its input group (row b1 b6, column',
        '// b2 b3 b4 b5), and y[0] ... y[3] receive the bits of its value from the',
        '// least significant up. V is any type with the bitwise operators.',
        '#pragma once',
        '',
        'namespace secure::bitslice {',
    ]
    for number, sbox in enumerate(read_sboxes(), start=1):
        circuit, outputs = smallest_circuit(sbox)
        lines += ['', '// S%d: %d operations.' % (number, circuit.operations()),
                  'template <class V>', 'inline void SBox%d(const V* x, V* y) {' % number]
        lines += ['    const V %s = %s;' % (name, expression) for name, expression, _ in circuit.gates]
        lines += ['    y[%d] = %s;' % (bit, outputs[bit]) for bit in range(4)]
        lines.append('}')
    lines += ['', '}  // namespace secure::bitslice', '']
    with open(OUTPUT, 'w') as header:
        header.write('\n'.join(lines))


if __name__ == '__main__':
    main()
