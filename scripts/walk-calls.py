#!/usr/bin/env python3
# Follows the program from one function through the calls its body makes to
# functions of the program, to a depth, as a newcomer reading it would, and
# counts the steps (a call into another file), the files visited, and the
# steps that go up a layer (into a folder above the caller's in the table of
# folders). Functions are found by a plain reading of the .cpp files (a name
# starting with a capital before a body), which is enough to compare layouts.
# Usage: walk-calls.py <project> <function> <depth> <folders top to bottom,
#        comma-separated> [<project whose folders rank a split folder's files>] [-v]
# Example: scripts/walk-calls.py . RunSortOfRows 2 app,watch,older,...,contents
import os,re,sys
top=sys.argv[1]; start=sys.argv[2]; depth=int(sys.argv[3]); order=sys.argv[4].split(',')
rank={f:i for i,f in enumerate(order)}
# Files of a folder since split are ranked by the folder each moved to.
moved={}
if len(sys.argv)>5 and sys.argv[5]!='-v':
    for folder in order:
        d=os.path.join(sys.argv[5],folder)
        if os.path.isdir(d):
            for f in os.listdir(d): moved['sorting/'+f]=folder
def layer(path): return moved.get(path, path.split('/')[0])
funcs={}
defre=re.compile(r'^(?:[\w:<>,\*&\s]+?)\b([A-Z]\w+)\s*\(([^;{]*?)\)\s*(?:const\s*)?\{',re.M|re.S)
for folder in order+['sorting']:
    d=os.path.join(top,folder)
    if not os.path.isdir(d): continue
    for f in os.listdir(d):
        if not f.endswith('.cpp'): continue
        p=os.path.join(d,f); s=open(p,encoding='latin-1').read()
        s=re.sub(r'//[^\n]*','',s)
        for m in defre.finditer(s):
            name=m.group(1)
            if name in ('if','for','while','switch'): continue
            i=m.end()-1; lvl=0
            for j in range(i,len(s)):
                if s[j]=='{': lvl+=1
                elif s[j]=='}':
                    lvl-=1
                    if lvl==0: break
            funcs.setdefault(name,(folder+'/'+f,s[i:j]))
callre=re.compile(r'\b([A-Z]\w+)\s*\(')
seen={start}; frontier=[start]; steps=[]; files={funcs[start][0]}
for level in range(depth):
    nxt=[]
    for fn in frontier:
        ffile,body=funcs[fn]
        for c in dict.fromkeys(m.group(1) for m in callre.finditer(body)):
            if c not in funcs or c==fn: continue
            cfile=funcs[c][0]
            if cfile!=ffile:
                up=rank[layer(cfile)]<rank[layer(ffile)]
                steps.append((ffile,c,cfile,up))
                files.add(cfile)
            if c not in seen:
                seen.add(c); nxt.append(c)
    frontier=nxt
ups=[s for s in steps if s[3]]
print(f"{len(files)} files, {len(steps)} steps, {len(ups)} up a layer")
for s in ups: print('  up:',s[0],'->',s[1],'in',s[2])
if '-v' in sys.argv:
    for s in steps: print('  ',s[0],'->',s[1],'in',s[2])
