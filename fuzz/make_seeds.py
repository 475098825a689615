#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into corpus/<target>/seed-*.

Run once when the seeds change; what the fuzzer finds is kept beside them.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
ASSETS = os.path.join(HERE, '..', 'assets')


def put(target, name, data):
    folder = os.path.join(HERE, 'corpus', target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, 'seed-' + name), 'wb') as f:
        f.write(data)


def asset(name):
    with open(os.path.join(ASSETS, name), 'rb') as f:
        return f.read()


# The settings file, each record cut to its first 32 bytes (as the target reads it).
WINDOW = 32


def i16(v):
    return struct.pack('<h', v)


def i32(v):
    return struct.pack('<i', v)


def counted(text):
    b = text.encode('cp932')
    return struct.pack('<H', len(b)) + b


def settings(changes):
    records = {1: i16(-1), 7: counted('WAVE'), 8: i16(1), 9: i16(1), 21: i32(16000), 262: i16(10),
               11: counted('AtoE'), 129: i16(1), 261: i16(-1)}
    for first, mode in ((2, 72), (124, 210)):
        block = (first, first + 1, first + 2, first + 3, first + 4)
        for record, value in zip(block, (1, 800, 45, -1, 3)):
            records[record] = i16(value)
        lower = 12 if first == 2 else 130
        for record, value in zip((lower, lower + 1, lower + 2), (1, 1, 0)):
            records[record] = i16(value)
        play = 22 if first == 2 else 140
        records[play] = i16(1)
        records[play + 1] = i16(3)
        records[mode] = i16(1)
    records.update(changes)
    out = bytearray(WINDOW * 262)
    for record, value in records.items():
        at = (record - 1) * WINDOW
        out[at:at + len(value)] = value
    return bytes(out)


put('settings_file', 'first-run', settings({}))
put('settings_file', 'kana-beep-8000', settings({1: i16(0), 7: counted('BEEP'), 21: i32(8000)}))
put('settings_file', 'word-files', settings({14: i16(2), 15: counted('英単語'), 16: counted('words.txt'),
                                             132: i16(3), 138: counted('かな'), 139: counted('kana.txt'),
                                             24: i16(1), 25: i16(2), 68: i16(3), 142: b'\x02\x00\x05\x00'}))
put('settings_file', 'modes-and-exams', settings({2: i16(4), 5: i16(2), 6: i16(9), 10: i16(2), 8: i16(5),
                                                  124: i16(3), 127: i16(1), 262: i16(0), 261: i16(0)}))
put('settings_file', 'short-file', settings({})[:WINDOW * 10 + 3])

# Exam texts: the first byte picks the alphabet (0 Latin, 1 kana), then the file.
texts = {
    'latin': (0, 'CQ CQ DE JA1ABC [BT] UR 599 5NN [AR]\r\nTHE QUICK BROWN FOX.\r\n'),
    'latin-fullwidth': (0, 'ＣＱ　ＤＥ　ｊａ１ａｂｃ　１２３　（ＢＴ）「ＢＴ」「ａｒ」＝＋－'),
    'latin-marks': (0, '(.,?/-=+) （） [bt] [ar] [xy] 1 2 3 0 ?'),
    'kana': (1, '「ホレ」コンニチハ　ガッコウ　パン　ヴ「ラタ」\r\nキョウハ　ハレ。\r\n'),
    'kana-halfwidth': (1, '[ﾎﾚ]ｺﾝﾆﾁﾊ ｶﾞｯｺｳ ﾊﾟﾝ [ﾗﾀ]\r\n'),
    'kana-hiragana': (1, '「ほれ」こんにちは　がっこう　ぱん「らた」、終'),
    'kana-digits': (1, '一二三　１２３　123　（カッコ）(ｶｯｺ)'),
    'kana-brackets-in-latin': (0, '「ホレ」(ABC)「ラタ」(ABC)[BT](X)'),
}
for name, (alphabet, text) in texts.items():
    put('exam_text', name, bytes([alphabet]) + text.encode('cp932'))
put('exam_text', 'lone-cr-lf-nul', b'\x00A\rB\nC\x00D\r\n\r\r\n\nE')
put('exam_text', 'not-cp932', b'\x00ABC\x81\x20DEF\xff')
put('exam_text', 'utf8', b'\x01' + 'コンニチハ ABC'.encode('utf-8'))
put('exam_text', 'empty', b'\x00')
put('exam_text', 'bracket-at-end', b'\x00ABC[B')

# Word files: the shipped ones and the kinds of damage a file can hold.
put('word_file', 'latin-words', asset('dudevadizu.rur'))
put('word_file', 'kana-words', asset('dezevazedevovud.eru'))
put('word_file', 'blank-lines', b'\r\n\r\n\r\n')
put('word_file', 'lone-cr-lf', b'ONE\rTWO\nTHREE\r\n\rFOUR\n\n')
put('word_file', 'nul-bytes', b'A\x00B\r\n\x00\r\nC')
put('word_file', 'not-cp932', b'GOOD\r\n\x81\x20BAD\r\n')
put('word_file', 'utf8', 'アメ\r\nヤマ\r\n'.encode('utf-8'))
put('word_file', 'sixty-lines', b''.join(b'W%d\r\n' % i for i in range(60)))

# Romaji keys: the first byte picks the reader (0 code check, 1 answer, 2 marking).
for name, state, keys in (('code-check', 0, b'kashishii\x08\x08nn[]?1"'),
                          ('answer', 1, b'ka\r'),
                          ('answer-esc', 1, b'k\x1b'),
                          ('answer-restart', 1, b'k\x08\x08ka\r'),
                          ('marking', 2, b'ka\rnn\r1\r\x1b'),
                          ('double-byte', 0, b'\x82\xa0\x83\x41k')):
    put('romaji_keys', name, bytes([state]) + keys)


def wav(fmt_fields, data, extra_chunks=b'', riff_size=None):
    fmt = struct.pack('<HHIIHH', *fmt_fields)
    body = b'WAVE' + extra_chunks + b'fmt ' + struct.pack('<I', len(fmt)) + fmt
    body += b'data' + struct.pack('<I', len(data)) + data
    return b'RIFF' + struct.pack('<I', len(body) if riff_size is None else riff_size) + body


put('wav', 'shipped', asset('sound.wav'))
put('wav', 'mono-8bit', wav((1, 1, 8000, 8000, 1, 8), bytes(range(0, 256, 4))))
put('wav', 'stereo-16bit', wav((1, 2, 16000, 64000, 4, 16), struct.pack('<8h', 1, -1, 300, -300, 32767, -32768, 0, 5)))
put('wav', 'odd-chunk-first', wav((1, 1, 8000, 16000, 2, 16), b'\x01\x00\x02\x00', extra_chunks=b'LIST\x03\x00\x00\x00abc\x00'))
put('wav', 'data-cut-short', wav((1, 1, 8000, 16000, 2, 16), b'\x01\x00\x02\x00\x03')[:-2])
put('wav', 'riff-size-zero', wav((1, 1, 8000, 16000, 2, 16), b'\x01\x00', riff_size=0))
