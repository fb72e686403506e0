#!/usr/bin/env python3
"""Builds the compact tab-separated lists the demo generator embeds.

Input: the Czech reference lists (obce.csv, okresy.csv, cz_nace_hierarchie.csv,
mvcr_*_cetnost.csv, ulice_cetnost_osm.csv); see SOURCES.txt for their origin.
Usage: extract.py SOURCE_DIR  (writes the *.tsv files next to this script)
"""
import csv
import os
import sys

src = sys.argv[1]
out = os.path.dirname(os.path.abspath(__file__))


def rows(name):
    with open(os.path.join(src, name), encoding="utf-8", newline="") as f:
        return list(csv.DictReader(f))


def write(name, header, data):
    with open(os.path.join(out, name), "w", encoding="utf-8", newline="\n") as f:
        f.write("\t".join(header) + "\n")
        for r in data:
            f.write("\t".join(str(x) for x in r) + "\n")


# Districts in file order; the generator numbers them 1..n in this order.
write("okresy.tsv", ["lau1", "okres", "kraj_nuts3", "kraj_spz"],
      [(r["okres_kod_lau1"], r["okres_nazev"], r["kraj_kod_nuts3"], r["kraj_spz"])
       for r in rows("okresy.csv")])

# Municipalities: names that fit text(30), with postcodes; population as weight
# (missing population counts as a small village).
towns = []
for r in rows("obce.csv"):
    name = r["nazev_obce"]
    pscs = (r["psc_vsechna"] or r["psc_hlavni"]).split()
    if len(name) > 30 or not pscs:
        continue
    towns.append((r["kod_obce"], name, r["okres_kod_lau1"], r["pocet_obyvatel"] or "150",
                  " ".join(pscs)))
towns.sort(key=lambda t: int(t[0]))
write("obce.tsv", ["kod", "obec", "lau1", "obyvatel", "psc"], towns)

# NACE classes (4th level) whose Czech name fits pzatrid.txt text(100).
write("nace.tsv", ["kod", "sekce", "nazev"],
      [(r["kod"], r["sekce"], r["nazev"]) for r in rows("cz_nace_hierarchie.csv")
       if r["uroven"] == "4" and 0 < len(r["nazev"]) <= 100])

write("jmena.tsv", ["jmeno", "cetnost", "pohlavi"],
      [(r["jmeno"], r["cetnost"], r["pohlavi_odhad"])
       for r in rows("mvcr_krestni_jmena_cetnost.csv") if int(r["cetnost"]) >= 500])

write("prijmeni.tsv", ["prijmeni", "cetnost", "pohlavi"],
      [(r["prijmeni"], r["cetnost"], r["pohlavi_odhad"])
       for r in rows("mvcr_prijmeni_cetnost.csv") if int(r["cetnost"]) >= 100])

write("ulice.tsv", ["ulice", "pocet"],
      [(r["nazev"], r["pocet_ulic"]) for r in rows("ulice_cetnost_osm.csv")
       if r["pouzitelne_samostatne"] == "1"])
