// Totais dos regimes de lucro real e presumido (caminho sem a EFD).
#include "db/demo/DemoEmpresa.h"

namespace demo {

void TGeradorEmpresa::Regimes() {
  auto gravar = [&](const char* tabela, int op, int64_t v1, int64_t v2, int64_t v3) {
    c(tabela, "CODIGOEMPRESA DATATOTAL CODIGOOPERACAOFIS VALORTOTAL1 VALORTOTAL2 VALORTOTAL3 VALORTOTAL4")
        .Linha({I(FEmpresa), D(FInicio), I(op), V(v1), V(v2), V(v3), V(0)});
    for (const auto& e : FEstabs)
      c(std::string(tabela) + "ESTAB",
        "CODIGOEMPRESA CODIGOESTAB DATATOTAL CODIGOOPERACAOFIS VALORTOTAL1 VALORTOTAL2 VALORTOTAL3 VALORTOTAL4")
          .Linha({I(FEmpresa), I(e.Codigo), D(FInicio), I(op), V(Parte(v1, 1, static_cast<int64_t>(FEstabs.size()))),
                  V(Parte(v2, 1, static_cast<int64_t>(FEstabs.size()))),
                  V(Parte(v3, 1, static_cast<int64_t>(FEstabs.size()))), V(0)});
  };
  auto& deb = c("DEBITOFEDERAL",
                "CODIGOEMPRESA CODIGOESTAB DATALCTOCTR SEQ CHAVEORIGEM CODIGOIMPOSTO VARIACAOIMPOSTO FORMADEBITO VALORDEBITO");
  if (Cumulativa()) {
    const int64_t pis = FMovSaidaCum(15), cofins = FMovSaidaCum(16);
    gravar("TOTALLUCROPRESUMIDO", 107, 0, 0, s.Entre(1000, 5000));
    gravar("TOTALLUCROPRESUMIDO", 167, 0, 0, s.Entre(5000, 20000));
    for (int op : {97, 98}) gravar("TOTALLUCROPRESUMIDO", op, 0, 0, s.Entre(500, 3000));
    for (int op : {157, 158}) gravar("TOTALLUCROPRESUMIDO", op, 0, 0, s.Entre(2000, 12000));
    deb.Linha({I(FEmpresa), I(1), D(FFim), I(1), T("FI-PIS2006"), I(8109), I(2), I(0), V(pis)});
    deb.Linha({I(FEmpresa), I(1), D(FFim), I(2), T("FI-COFINS2006"), I(2172), I(1), I(0), V(cofins)});
    c("LUCROPRESUMIDOPISPASEPFOLHA",
      "CODIGOEMPRESA CODIGOESTAB PERIODO ALIQUOTA TOTALFOLHA EXCLUSAO BASECALCULO VALORPISPASEP")
        .Linha({I(FEmpresa), I(1), D(FInicio), A(0), V(0), V(0), V(0), V(0)});
    auto& ret = c("TOTALLUCROPRESRETIDO",
                  "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ IMPOSTO INDNATRET PRRECRET VLRETAPU VLRETDED VLRETPER "
                  "VLRETDCOMP SLDRET");
    ret.Linha({I(FEmpresa), I(1), D(FInicio), I(1), I(15), I(3), D(FInicio + 5), V(1500), V(0), V(0), V(0), V(1500)});
    ret.Linha({I(FEmpresa), I(1), D(FInicio), I(2), I(16), I(3), D(FInicio + 5), V(7000), V(0), V(0), V(0), V(7000)});
    return;
  }
  // lucro real (as empresas da EFD também guardam os totais do regime)
  for (int op : {2191, 2192}) gravar("TOTALLUCROREAL", op, s.Entre(1000, 9000), s.Entre(500, 4000), 0);
  for (int op : {2491, 2492}) gravar("TOTALLUCROREAL", op, s.Entre(5000, 40000), s.Entre(2000, 18000), 0);
  for (int op : {2185, 2485}) {
    const int64_t nc = s.Entre(1000, 30000), cum = s.Entre(0, 9000);
    // só não cumulativa: nenhum retido do regime cumulativo
    gravar("TOTALLUCROREAL", op, nc, FPerfil == TPerfilDemo::pdLucroRealSemEFD ? 0 : cum, 0);
  }
  if (FPerfil == TPerfilDemo::pdMisto)
    for (int op : {8027, 8160}) gravar("TOTALLUCROREAL", op, s.Entre(1000, 30000), 0, 0);
  auto& cs = c("TOTALLUCROREALCREDSPED",
               "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ IMPOSTO CODCRED PERAPUCRED ORIGCRED CNPJSUC ALIQIMPOSTO "
               "VLCREDAPU VLCREDEXTAPU VLCREDDESCPAANT VLCREDPERPAANT VLCREDDCOMPPAANT VLCREDDESCEFD VLCREDPEREFD "
               "VLCREDDCOMPEFD VLCREDTRANS VLCREDOUT");
  int seq = 0;
  for (int imposto : {15, 16})
    for (int meses : {0, 2}) {
      const int64_t apu = s.Entre(100000, 900000) * (imposto == 16 ? 4 : 1), desc = Parte(apu, 40, 100);
      cs.Linha({I(FEmpresa), I(1), D(FInicio + 27), I(++seq), I(imposto), T("4.3.06.101"), D(IncMonth(FInicio, -meses)),
                I(1), N(), A(imposto == 15 ? 16500 : 76000), V(apu), V(0), V(0), V(0), V(0), V(desc), V(0), V(0), V(0),
                V(0)});
    }
  auto& rs = c("TOTALLUCROREALRETIDOSPED",
               "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ IMPOSTO INDNATRET PRRECRET TIPODEBITO VLRETAPU VLRETDED VLRETPER "
               "VLRETDCOMP SLDRET");
  rs.Linha({I(FEmpresa), I(1), D(FInicio + 27), I(1), I(15), I(1), D(FInicio + 10), T("4.3.05.01"), V(6500), V(0), V(0),
            V(0), V(6500)});
  rs.Linha({I(FEmpresa), I(1), D(FInicio + 27), I(2), I(16), I(1), D(FInicio + 10), T("4.3.05.01"), V(30000), V(0),
            V(0), V(0), V(30000)});
  deb.Linha({I(FEmpresa), I(1), D(FFim), I(1), T("FI-LRPIS2006"), I(6912), I(1), I(0), V(s.Entre(100000, 900000))});
  deb.Linha({I(FEmpresa), I(1), D(FFim), I(2), T("FI-LRCOFINS2006"), I(5856), I(1), I(1), V(s.Entre(400000, 3600000))});
}

}  // namespace demo
