// Atividade imobiliária: unidades vendidas, custo incorrido e orçado.
#include "db/demo/DemoEmpresa.h"

namespace demo {

void TGeradorEmpresa::Imobiliario() {
  if (FPerfil != TPerfilDemo::pdNaoCumulativo) return;
  auto& un = c("EFDUNIDIMOBILIARIA",
               "CODIGOEMPRESA CODIGOESTAB NUMCADIMOB INDOPER UNIDIMOB IDENTEMP DESCUNIDIMOB NUMCONT CNPJCPFADQU DATAOPER "
               "VLTOTVEND");
  const int64_t venda = s.Entre(30000000, 60000000);
  un.Linha({I(FEmpresa), I(1), T("IM-0001"), I(1), I(1), T("RESIDENCIAL DEMO"), T("APTO 101"), T("CT-2023-01"),
            T(CNPJ(55555555, 1)), D(IncMonth(FInicio, -6)), V(venda)});
  un.Linha({I(FEmpresa), I(1), T("IM-0002"), I(1), I(1), T("RESIDENCIAL DEMO"), T("APTO 102"), T("CT-2023-02"),
            T(CNPJ(55555556, 1)), D(IncMonth(FInicio, -4)), V(venda + 500000)});
  const int64_t recebido = venda / 10;
  c("EFDUNIDIMOBVENDIDA",
    "CODIGOEMPRESA CODIGOESTAB NUMCADIMOB COMPRECEB SEQUENCIA TIPODEBITO TIPODEBITOPIS VLTOTREC VLRECACUM VLBC VLPIS "
    "VLCOFINS INDNATEMP CSTPIS CSTCOFINS ALIQPIS ALIQCOFINS")
      .Linha({I(FEmpresa), I(1), T("IM-0001"), D(FInicio), I(1), T("4.3.05.01"), T("4.3.05.01"), V(recebido),
              V(recebido * 3), V(recebido), V(Tributo(recebido, 16500)), V(Tributo(recebido, 76000)), I(1), I(1), I(1),
              A(16500), A(76000)});
  FDebitos[{1, 15, "4.3.05.01", 16500, false}].Somar(recebido, recebido, Tributo(recebido, 16500));
  FDebitos[{1, 16, "4.3.05.01", 76000, false}].Somar(recebido, recebido, Tributo(recebido, 76000));
  FReceita[0] += recebido;
  const int64_t custo = recebido / 2;
  c("EFDUNIDIMOBCUSTOINC",
    "CODIGOEMPRESA CODIGOESTAB NUMCADIMOB COMPRECEB SEQUENCIA TIPOCREDITO TIPOCREDITOPIS VLCUSINCACUANT VLCUSINCPERESC "
    "VLCUSINCACUTOT VLEXCBCCUSINCACU VLBCCUSINC VLCREDPISDESC VLCREDCOFINSDESC CSTPIS CSTCOFINS ALIQPIS ALIQCOFINS")
      .Linha({I(FEmpresa), I(1), T("IM-0001"), D(FInicio), I(1), T("4.3.07.15"), T("4.3.07.15"), V(custo * 4), V(custo),
              V(custo * 5), V(0), V(custo), V(Tributo(custo, 16500)), V(Tributo(custo, 76000)), I(50), I(50), A(16500),
              A(76000)});
  const int64_t orcado = recebido / 3;
  c("EFDUNIDIMOBCUSTOORC",
    "CODIGOEMPRESA CODIGOESTAB NUMCADIMOB COMPRECEB SEQUENCIA TIPOCREDITO TIPOCREDITOPIS VLCUSORC VLEXC VLCUSORCEXC "
    "VLBCCRED VLCREDPISUTIL VLCREDCOFINSUTIL CSTPIS CSTCOFINS ALIQPIS ALIQCOFINS")
      .Linha({I(FEmpresa), I(1), T("IM-0002"), D(FInicio), I(1), T("4.3.07.16"), T("4.3.07.16"), V(orcado * 6), V(0),
              V(orcado * 6), V(orcado), V(Tributo(orcado, 16500)), V(Tributo(orcado, 76000)), I(50), I(50), A(16500),
              A(76000)});
  // atividade imobiliária: crédito tipo 109 (custo incorrido e orçado)
  FCreditos[{1, 15, "4.3.07.15", 50, 0, "09"}].Somar(custo + orcado, custo + orcado,
                                                      Tributo(custo, 16500) + Tributo(orcado, 16500));
  FCreditos[{1, 16, "4.3.07.15", 50, 0, "09"}].Somar(custo + orcado, custo + orcado,
                                                      Tributo(custo, 76000) + Tributo(orcado, 76000));
  c("EFDINCORPIMOBRET",
    "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ NUMCADIMOB VLRECEITA VLRECFIN VLBCRET ALIQRET VLRECUNI DATARECEB CODREC")
      .Linha({I(FEmpresa), I(1), D(FInicio + 15), I(1), T("IM-0002"), V(recebido), V(0), V(recebido), A(40000),
              V(Tributo(recebido, 40000)), D(FInicio + 15), T("4095")});
}

}  // namespace demo
