# A string built from 100,000 pieces.
def build():
    s = ""
    for i in range(1, 100001):
        s += "x" + str(i)
    return len(s)


print(build())
