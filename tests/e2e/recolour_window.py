"""A window of one colour that turns to another when asked: the test
creates the file named by the second argument, the window recolours and
answers by creating that name + ".done"."""

import os
import sys
import tkinter

geometry, flag, first, second = sys.argv[1:5]
root = tkinter.Tk(className="recolour")
root.title("recolour")
root.geometry(geometry)
panel = tkinter.Frame(root, background=first, borderwidth=0, highlightthickness=0)
panel.pack(fill="both", expand=True)


def watch():
    if os.path.exists(flag):
        panel.configure(background=second)
        root.update_idletasks()
        open(flag + ".done", "w").close()
        return
    root.after(20, watch)


watch()
root.mainloop()
