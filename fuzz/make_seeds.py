#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz harnesses (fuzz/corpus/<harness>/) from
the project's own data: devices/default-simcard.txt, and the cards,
transcripts and vectors of tests/platform/ril, tests/platform/modem and
tests/settings (named beside each seed). Each input is laid out as its
harness reads it. Seeds named finding-* are inputs that once found a fault;
they are kept as they are."""
import os
import struct

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CORPUS = os.path.join(ROOT, "fuzz", "corpus")


def write(harness, name, data):
    folder = os.path.join(CORPUS, harness)
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode("latin-1")
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def read(path):
    with open(os.path.join(ROOT, path), "rb") as f:
        return f.read().decode("latin-1")


def hexbytes(text):
    return bytes.fromhex(text.replace(" ", ""))


# Records and answers of tests/settings/record_codec_test.cpp.
def record(length, fixed):
    rec = bytearray(b"\xff" * length)
    rec[length - 14:length - 14 + len(fixed)] = fixed
    return bytes(rec)


def answer(rec):
    return bytes([16, 0, 0, 0, 0x0F, 0, 0, 0, 0x90, 0, 0, 0, 0, 0, 0, 0]) + rec


ALPHA = hexbytes("56 6F 69 63 65 6D 61 69 6C FF FF FF FF FF")
RECORDS = {
    "plus1234567": record(28, hexbytes("06 91 21 43 65 F7")),
    "national": record(28, hexbytes("06 81 21 43 65 F7")),
    "erased": record(28, b""),
    "overlong-length": record(28, bytes([0x20, 0x81]) + b"\x21" * 10 + b"\x99\x88"),
    "unused-nibbles": record(28, hexbytes("04 81 D1 2E C3")),
    "shortest": record(14, hexbytes("03 91 44 F1")),
    "longest": record(255, hexbytes("03 81 10 32")),
    "default-card": ALPHA + hexbytes("06 91 21 43 65 F7 FF FF FF FF FF FF FF FF"),
}

for name, rec in RECORDS.items():
    for limit in (20, 5):
        head = struct.pack("<II", len(rec), limit) + b"\x00"
        write("fuzz_parse_phone_no", f"{name}-limit{limit}", head + answer(rec))
write("fuzz_parse_phone_no", "cut-answer", struct.pack("<II", 28, 20) + b"\x00" + answer(RECORDS["plus1234567"])[:36])
write("fuzz_parse_phone_no", "length-13", struct.pack("<II", 13, 20) + b"\x00" + answer(b"\x05" * 13))

# Number texts of record_codec_test.cpp and of the screen's input check.
TEXTS = ["+31 6-12", "123w4", "+12345678901234567890", "123456789012345678901", "0800*#1",
         "9w9W9p9P9", "5", "", "+", "++", "+4+4W w", "+44 1234 5678 9012 3456 7890 1234 5678 9012 345",
         "+1234567"]
for i, text in enumerate(TEXTS):
    for length in (28, 14):
        data = struct.pack("<I", length) + b"\x00" + text.encode("utf-16-le")
        write("fuzz_build_record", f"text{i:02d}-reclen{length}", data)
    write("fuzz_record_round_trip", f"text{i:02d}", bytes([28 - 14]) + text.encode("latin-1"))
write("fuzz_build_record", "reclen-256", struct.pack("<I", 256) + b"\x00" + "+123".encode("utf-16-le"))

# tests/platform/ril/at_parser_test.cpp: the transcript, and modem output of each
# dialect (tests/platform/modem/sim_card_test.cpp).
TRANSCRIPT = ("AT+CSCA?\r\r\n+CSCA: \"+441234567890\",145\r\n\r\nRING\r\n\r\nOK\r\n"
              "\r\n+CREG: 1\r\n"
              "AT+CRSM=178,28439,1,4,28\r\r\n+CRSM: 144,0,\"566F6963656D61696CFFFFFFFFFF0691214365F7FFFFFFFFFFFFFFFF\"\r\n\r\nOK\r\n"
              "\x01\x7f~garbage\r\n"
              "\r\n+CME ERROR: 10\r\n"
              "\n\n\r\n+CMS ERROR: 330\r\n"
              "\r\n+CFUN: 4\r\n\r\n+CREG: 0\r\n\r\nOK\r\n")
AT_STREAMS = {
    "transcript": (4 << 1, TRANSCRIPT),
    "numeric": (8 << 1 | 1, "+CFUN: 1\r\n0\r4\r3\r"),
    "echo": (0, "ATE0\r\r\nOK\r\n"),
    "ucs2": (4 << 1, "\r\n+CSCA: \"002B003400340031003200330034003500360037003800390030\",145\r\n\r\nOK\r\n"),
    "cme-text": (2 << 1, "\r\n+CME ERROR: operation not supported\r\n"),
    "no-carrier": (8 << 1, "\r\nNO CARRIER\r\n\r\n+CFUN: 1\r\n\r\nOK\r\n"),
    "dial": (10 << 1, "\r\nNO CARRIER\r\n\r\nBUSY\r\n"),
    "overlong": (0, "A" * 2100 + "\r\nOK\r\n"),
    # tests/platform/ril/recorded_answers_test.cpp: modems' own finals, busy,
    # a Gobi's first SIM access, an unquoted UCS2 address, a line twice.
    "vendor": (4 << 1, "\r\nCOMMAND NOT SUPPORT\r\n\r\nMODEM ERROR: 5\r\n\r\nERROR: UNSUPPORTED\r\n"
                       "\r\nERROR: BAD COMMAND\r\n\r\nTOO MANY PARAMETERS\r\n\r\n+EXT ERROR: 2\r\n"),
    "busy": (4 << 1, "AT+CSCA?\r\nAT+CSCA?\r\n+CME ERROR: 515\r\n"
                     "\r\n+CME ERROR: Please wait, init or command processing in progress.\r\n"),
    "gobi": (6 << 1, "\r\n+CRSM: 106,134,\"\"\r\n\r\nOK\r\n"),
    "ucs2-unquoted": (4 << 1, "\r\n+CSCA: 002B003300380030003600330039003000310030003000300030,145\r\n\r\nOK\r\n"),
    "twice": (4 << 1, "\r\n+CSCA: \"+4479\",145\r\n\r\n+CSCA: \"+4479\",145\r\n\r\nOK\r\n"),
}
for name, (flags, stream) in AT_STREAMS.items():
    write("fuzz_at_stream", name, bytes([flags]) + struct.pack("<I", 20240611) + stream.encode("latin-1"))

# tests/platform/ril/ril_commands_test.cpp: +CSCA, +CRSM, FCP and whole replies.
FCP = hexbytes("62 19 82 05 42 21 00 1C 04 83 02 6F C7 A5 03 80 01 71 8A 01 05 80 02 00 70 88 00")
write("fuzz_sim_answers", "fcp-6fc7", b"\x00\x00" + FCP)
write("fuzz_sim_answers", "fcp-no-size", b"\x00\x00" + hexbytes("62 07 82 05 42 21 00 1E 06"))
write("fuzz_sim_answers", "fcp-modem", b"\x00\x00" + hexbytes("621782054221001C0283026FC78A01058B036F060180020038"))
CRSM = ["+CRSM: 144,0,\"566F6963656D61696CFFFFFFFFFF0691214365F7FFFFFFFFFFFFFFFF\"", "+crsm: 144,0,0691",
        "+CRSM: 144 , 0 , \"0691\" ", "+CRSM: 103,15", "+CRSM: 148,4", "+CRSM: 159,28,0691"]
for i, line in enumerate(CRSM):
    write("fuzz_sim_answers", f"crsm{i}", b"\x01\x00" + line.encode())
CSCA = [(0, "+CSCA: \"+441234567890\",145"), (1, "+csca: \"+4412\" , 145"),
        (2, "+CSCA: \"002B0034003400310032\",145"), (3, "+CSCA: \"2b34343132\",145"),
        (0, "+CSCA: \"01234\",161"), (0, "+CSCA: \"\",129"), (0, "+CSCA: \"+4479\""),
        (2, "+CSCA: 002B003300380030003600330039003000310030003000300030,145"), (3, "+CSCA: 2b3434 ,145")]
for i, (charset, line) in enumerate(CSCA):
    write("fuzz_sim_answers", f"csca{i}", bytes([2, charset]) + line.encode())
write("fuzz_sim_answers", "cfun", b"\x03\x00+CFUN: 4")
REPLIES = [(0, "+CSCA: \"+441234567890\",145\nOK"), (2, CRSM[0] + "\nOK"),
           (3, "+CRSM: 144,0,\"621982054221001C0483026FC7A5038001718A0105800200708800\"\nOK"),
           (3, "+CRSM: 103,15\nOK"), (2 | 0x20, "+CRSM: 148,4\nOK"), (5, "+CFUN: 1\n0"),
           (4, "+CRSM: 146,64\nOK"), (6, "+CME ERROR: SIM not inserted"), (1, "+CMS ERROR: 330"),
           (0, "+CME ERROR: 515"), (3 | 0x80, "+CRSM: 106,134,\"\"\nOK"), (0, "COMMAND NOT SUPPORT"),
           (0, "+CSCA: \"+4479\",145\n+CSCA: \"+4479\",145\nOK")]
for i, (param, text) in enumerate(REPLIES):
    write("fuzz_sim_answers", f"reply{i}", bytes([4, param | (0x40 if text.endswith("\n0") else 0)]) + text.encode())

# Cards: the device's default card, and the cards of the radio and settings tests.
DEFAULT_CARD = read("devices/default-simcard.txt")
TEST_CARD = ("# test card\n"  # tests/platform/modem/sim_card_test.cpp
             "radio on\n"
             "smsc +441234567890 145\n"
             "sim 2G\n"
             "\n"
             "file 6F17 reclen 28 records 4\n"
             "record 1 56 6F 69 63 65 6D 61 69 6C FF FF FF FF FF 06 91 21 43 65 F7 FF FF FF FF FF FF FF FF\n"
             "record 3 FFFFFFFFFFFFFFFFFFFFFFFFFFFF0281F1FFFFFFFFFFFFFFFFFFFFFF\n"
             "# mailbox file of the USIM\n"
             "file 6FC7 reclen 28 records 2\n")
TOOL_CARD = ("# kept by hand\r\n"  # tests/settings/simcard_tool_test.cpp
             "radio on\r\n"
             "smsc +441234567890 145\r\n"
             "sim 2G\r\n"
             "file 6F17 reclen 28 records 6\r\n"
             "record 1 FF FF FF FF FF FF FF FF FF FF FF FF FF FF 06 91 21 43 65 F7 FF FF FF FF FF FF FF FF\r\n"
             "record 2 FF FF FF FF FF FF FF FF FF FF FF FF FF FF 03 81 21 43 FF FF FF FF FF FF FF FF FF FF\r\n"
             "file 6FC7 reclen 30 records 2\r\n"
             "file 6F40 reclen 10 records 1\r\n")
USIM_CARD = "sim USIM\r\ndialect ucs2 keep-charset path-only\r\nfile 6FC7 reclen 28 records 4\r\n"
IDENTITY_CARD = ("maker Huawei Technologies\nmodel \"E1752\"\nrevision 11.126\nimei 350000000000006\n"
                 "imsi 234150000000001\nsim 2G\n")  # tests/platform/modem/sim_card_test.cpp
CARDS = {"default": DEFAULT_CARD, "radio-test": TEST_CARD, "tool-test": TOOL_CARD, "usim": USIM_CARD,
         "identity": IDENTITY_CARD}

# Edits: radio flight, service centre 0441234567 129, record 2 of the first file.
EDITS = (b"\x00\x02" + b"\x01\x0a" + bytes([0, 4, 4, 1, 2, 3, 4, 5, 6, 7]) + bytes([129])
         + b"\x02\x00\x02\x00" + b"\x11" * 30)
for name, card in CARDS.items():
    write("fuzz_sim_card", name, card)
    write("fuzz_sim_card", name + "-edits", card.encode("latin-1") + b"\x00" + EDITS)

# The RIL's set-up and requests as the modem receives them (docs/modem.md).
RIL_LINES = ["ATE0", "ATV1", "ATQ0", "AT+CMEE=1", "AT+CMEE=2", "AT+CSCS=\"GSM\"", "AT+CSCS=\"IRA\"", "AT+CSCS?",
             "AT+CFUN?", "AT+CSCA?", "AT+CRSM=192,28439,0,0,0", "AT+CRSM=178,28439,1,4,28",
             "AT+CSCA=\"+4479\",145", "AT+CRSM=192,28615,0,0,15,\"\",\"3F007FFF\"",
             "AT+CRSM=220,28439,1,4,28,\"566F6963656D61696CFFFFFFFFFF0691214365F7FFFFFFFFFFFFFFFF\"",
             "AT+CFUN=4", "AT+CFUN=1", "AT+CPIN?", "AT+CMEE?", "AT+CSCS=?", "AT$QUIT", "hello",
             "AT+CGMI", "AT+CGMM", "AT+CGMR", "AT+CGSN", "ATI", "AT+CIMI", "AT+CSCA=\"+447700900555\""]
DIALECTS = ["numeric", "echo", "ucs2", "hex", "keep-charset", "cme-text", "bare-error", "crsm-unquoted",
            "read-9f", "no-carrier", "cfun4", "getresponse-67", "path-only"]
commands = "\r".join(RIL_LINES)
write("fuzz_sim_modem", "default-card", commands)
for name, card in CARDS.items():
    write("fuzz_sim_modem", name + "-card", card.encode("latin-1") + b"\x00\x00\x00\x00" + commands.encode())
for bit, name in enumerate(DIALECTS):
    write("fuzz_sim_modem", "dialect-" + name,
          DEFAULT_CARD.encode("latin-1") + b"\x00" + struct.pack("<H", 1 << bit) + b"\x00" + commands.encode())
write("fuzz_sim_modem", "faults", DEFAULT_CARD.encode("latin-1") + b"\x00\x00\x00\x0f" + commands.encode())


# fuzz_ril_modem_agree: the default card (and a USIM one) in the harness's
# layout, then what the program asks at start and on Done.
DIAL = "0123456789*#abcABC"


def agree_card(usim=False, dialects=0, reclen=28):
    out = bytearray([1])                                   # radio on
    smsc = "441234567890"
    out += bytes([len(smsc) << 1 | 1]) + bytes(DIAL.index(c) for c in smsc) + bytes([145])
    out += bytes([1 if usim else 0]) + struct.pack("<H", dialects)
    out += bytes([2])                                      # two files
    for pick in (0, 1):                                    # 6F17, 6FC7
        out += bytes([pick, reclen - 1, 4 - 1, 1, 0])      # reclen, 4 records, record 1 listed
        rec = RECORDS["default-card"]
        out += (rec + b"\xff" * reclen)[:reclen] if reclen != 28 else rec
    return bytes(out)


def agree_requests():
    out = bytearray()
    out += bytes([2])                                      # GetEquipmentState
    out += bytes([0])                                      # GetMsgConfig
    out += bytes([4, 0, 0])                                # GET RESPONSE 6F17, P1-P3
    out += bytes([5, 0, 0, 1])                             # READ RECORD 1
    out += bytes([1, 0x92, 4]) + bytes(DIAL.index(c) for c in "4479")  # SetMsgConfig +4479, as read
    out += bytes([4, 1, 0])                                # GET RESPONSE 6FC7
    out += bytes([6, 1, 0, 1]) + RECORDS["default-card"]   # UPDATE RECORD 1 of 6FC7
    out += bytes([3, 2])                                   # SetEquipmentState FULL
    out += bytes([3, 1])                                   # MINIMUM
    out += bytes([2])
    return bytes(out)


for setup in (0, 1):
    write("fuzz_ril_modem_agree", f"default-setup{setup}",
          agree_card() + bytes([setup]) + struct.pack("<I", 7) + agree_requests())
write("fuzz_ril_modem_agree", "usim-setup", agree_card(usim=True) + b"\x01" + struct.pack("<I", 7) + agree_requests())
write("fuzz_ril_modem_agree", "faults", agree_card() + b"\x0f" + struct.pack("<I", 7) + agree_requests())
for bit, name in enumerate(DIALECTS):
    for usim in (False, True):
        write("fuzz_ril_modem_agree", f"dialect-{name}{'-usim' if usim else ''}",
              agree_card(usim=usim, dialects=1 << bit) + b"\x01" + struct.pack("<I", 7) + agree_requests())
write("fuzz_ril_modem_agree", "all-dialects", agree_card(dialects=(1 << 13) - 1) + b"\x01"
      + struct.pack("<I", 7) + agree_requests())
