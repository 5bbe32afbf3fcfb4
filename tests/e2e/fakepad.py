"""The test's side of the fake game pad (fakepad.cpp): a FIFO that the preloaded shim hands to the game as its
joystick device, and the Linux joystick events written into it."""
import os, struct, time

BUTTON, AXIS = 1, 2  # js_event types


class FakePad:
    def __init__(self, fifo, shim):  # fifo: a path to create; shim: the built fakepad library
        os.mkfifo(fifo)
        # Read-write never blocks on a FIFO, and keeps it open for the game however early or late it comes.
        self.fd, self.fifo = os.open(fifo, os.O_RDWR), fifo
        self.env = {"LD_PRELOAD": shim, "MIRVANES_FAKE_PAD": fifo}  # to add to the game's environment

    def event(self, kind, number, value):  # struct js_event: time in ms, value, type, number
        os.write(self.fd, struct.pack("<IhBB", int(time.monotonic() * 1000) & 0xFFFFFFFF, value, kind, number))

    def button(self, number, down):
        self.event(BUTTON, number, int(down))

    def axis(self, number, value):  # -32767 left or up, 0 centred, 32767 right or down
        self.event(AXIS, number, value)

    def close(self):
        os.close(self.fd)
        os.unlink(self.fifo)
