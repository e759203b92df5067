// Writes the starting corpus of fuzz_copperlist into the folder given as the first argument:
// copper lists as text (assembler data, memory views) and as binary words. The first byte of
// each seed chooses the reader (bit 0: binary; its other bits the binary start offset).
#include <cstdio>
#include <string>

namespace {

std::string folder;
int seedNumber = 0;

void save(char mode, const std::string &body) {
    const std::string name = folder + "/seed-" + std::to_string(seedNumber++);
    std::FILE *file = std::fopen(name.c_str(), "wb");
    if (file == nullptr)
        return;
    std::fputc(mode, file);
    std::fwrite(body.data(), 1, body.size(), file);
    std::fclose(file);
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: seeds_copperlist FOLDER\n");
        return 2;
    }
    folder = argv[1];
    save(0, "copper:\n\tdc.w\tBPLCON0,$5200\t; five planes\n\tdc.w\t$0180,$0502\n"
            "\tdc.w\t$9601,$ff00\n\tdc.l\t$3fd37ffe\n\tdc.w\t$ffdf,$fffe\n"
            "\tdc.w\t$2c07,$fffe,COLOR01,%1010\n\tdc.w\tBPL1MOD,-40\n\tdc.w\t$ffff,$fffe\n");
    save(2, "\tDC.W $0106,$4000, $018a,$05a3\nlabel dc.w $0106,$4200,0x018a,4043\n"
            "* comment\n\tdc.w\t$002e,$0002\n\tdc.w\t$0182\n");
    save(0, "00c01234 0180 0502 0182 0FFF  ....\n00c0123c: 2c07fffe fffffffe\n01 00 52 00\n");
    save(0, "\tdc.w\t$0180,$10000\n\tdc.w\tCOLOUR00\n0180 05\n01 80 05\n");
    save(4, "; a source as written\nPLANES\tequ\tDEPTH+1\nDEPTH = 4\nv set 1\nv set v+1\n"
            "\tsection\tc,data_c\ncop:\n\tdc.w\tBPLCON0,(PLANES<<12)!$200\t* planes\n"
            "\tDC.W\tBPL1PTH,screen>>16,BPL1PTL,screen&$ffff\n\tdc.l\tsprite+4,'AB'\n"
            "\tdc.b\t1,2,'x'\n\teven\n  in: dc.w COLOR01,~0&%111!@7^$f/2%3-'a'\n"
            "\tdc.w\t(1+2,1/0,$100000000\n\tend\n");
    save(0, "00000000  01 80 0f 00 01 80 0f 00  01 80 0f 00 01 80 0f 00  |................|\n*\n"
            "00000030  ff ff ff fe                                       |....|\n00000034\n");
    save(1, std::string("\x01\x80\x05\x02\x96\x01\xff\x00\xff\xff\xff\xfe", 12));
    save(static_cast<char>(9), std::string("\xde\xad\xbe\xef\x01\x00\x52\x00\x01\x82\x0f", 11));
    return 0;
}
