#!/usr/bin/env python3
"""A show floor for MINUTES: `showcase --kiosk --idle-reset RESET` under a private Xvfb, visited in
bursts of random keys and clicks with idle gaps longer than RESET between them.

    scripts/kiosk-soak.py MINUTES RESET PROGRAM      e.g. scripts/kiosk-soak.py 60 15 build/showcase

The pictures are flat colours, the splash picture magenta. After each burst it checks that the
tour has replaced the splash (the visit left the show playing) and after each gap that the splash
is back (the attract reset); it prints the counts, whether the show still runs, and its resident
memory at the start and the end. Needs Xvfb, xdotool and ImageMagick's import."""
import os, random, struct, subprocess, sys, tempfile, time
minutes=float(sys.argv[1]); reset=int(sys.argv[2]); exe=os.path.abspath(sys.argv[3])
folder=tempfile.mkdtemp(prefix="kiosk-soak-")
os.mkdir(f"{folder}/picture")
names=["1","2","3","4","5","6","10","8","11","12","13","14","15","16","17","18","11a","4a","1a"]
for i,n in enumerate(names):  # 16 x 16 24-bit bitmaps
    col=(255,0,255) if n=="13" else (40+8*i,90,60+5*i)
    pix=bytes([col[2],col[1],col[0]])*256
    hdr=struct.pack('<2sIHHI',b'BM',54+len(pix),0,0,54)+struct.pack('<IiiHHIIiiII',40,16,16,1,24,0,len(pix),2835,2835,0,0)
    open(f"{folder}/picture/{n}.bmp","wb").write(hdr+pix)
disp=":91"
xvfb=subprocess.Popen(["Xvfb",disp,"-screen","0","1024x768x24","-nolisten","tcp"],stderr=subprocess.DEVNULL)
time.sleep(1)
env=dict(os.environ,DISPLAY=disp)
show=subprocess.Popen([exe,"--kiosk","--idle-reset",str(reset)],cwd=folder,env=env,stdout=subprocess.PIPE,stderr=subprocess.STDOUT)
def rss(): return int([l for l in open(f"/proc/{show.pid}/status") if l.startswith("VmRSS")][0].split()[1])
def pixel():
    out=subprocess.run(["import","-display",disp,"-window","root","-crop","1x1+900+100","txt:-"],capture_output=True,text=True,env=env).stdout
    rgb=out.strip().splitlines()[-1].split("(")[1].split(")")[0].split(",")[:3]
    return tuple(int(float(v)) for v in rgb)
def magenta(p): return p[0]>120 and p[2]>120 and p[1]<p[0]*0.5
def xdo(*a): subprocess.run(["xdotool",*a],env=env,stderr=subprocess.DEVNULL)
time.sleep(4)
start_rss=rss(); print(f"start rss {start_rss} kB", flush=True)
keys=["Escape","F1","alt+F4","Return","space","a","q","ctrl+w","F10","Tab","Up","Down"]
bursts=resets=tours=presses=clicks=0
end=time.time()+minutes*60
while time.time()<end and show.poll() is None:
    for _ in range(random.randint(5,40)):
        if random.random()<0.5:
            xdo("mousemove",str(random.randint(0,1023)),str(random.randint(0,767)),"click","1"); clicks+=1
        else:
            xdo("key",random.choice(keys)); presses+=1
        time.sleep(random.uniform(0.05,0.5))
    bursts+=1
    time.sleep(8)   # the splash lasts about 5 s: a visit ends in the tour
    if not magenta(pixel()): tours+=1
    time.sleep(reset+3-8 if reset>8 else 3)
    if magenta(pixel()): resets+=1
    else: print(f"burst {bursts}: no splash after the gap", flush=True)
    time.sleep(random.uniform(0,10))
alive=show.poll() is None
print(f"minutes {minutes} bursts {bursts} keys {presses} clicks {clicks} splash-after-gap {resets} tour-between {tours} running {alive} end rss {rss() if alive else 0} kB", flush=True)
show.terminate(); print("exit", show.wait()); xvfb.terminate()
