

   SELEC * FROM "t.dbf"